#include "app/CGameBiddingHost.h"

#include <cstdio>
#include <cstring>

#include "app/CGameFlow.h"
#include "net/UsersList.h"
#include "rules/CPlayerHand.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/GameState.h"

int CGameBiddingHost::SeatOfPlace(int place) const {
    return ::SeatOfPlace(place);
}
int CGameBiddingHost::PlaceOfSeat(int seat) const {
    return ::PlaceOfSeat(seat);
}

int CGameBiddingHost::UserAtPlace(int place) const {
    const uint16_t user = ::UserAtPlace(place);
    return user == kNoUser ? -1 : user;
}

int CGameBiddingHost::PlaceOfUser(int user) const {
    // A user id without an entry sits nowhere.
    if (user < 0 || user >= kMaxUsers || g_UsersList[user].name[0] == 0) return -1;
    return ::PlaceOfUser(user);
}

std::string CGameBiddingHost::NameAtPlace(int place) const {
    if (place >= 0 && place < 4 && g_pHand[place])
        return std::string(g_pHand[place]->m_szName,
                           strnlen(g_pHand[place]->m_szName, sizeof g_pHand[place]->m_szName));
    const int user = UserAtPlace(place);
    if (user < 0 || user >= kMaxUsers) return {};
    const char* name = g_UsersList[user].name;
    return std::string(name, strnlen(name, sizeof g_UsersList[user].name));
}

bool CGameBiddingHost::IsPlaceAutoPlayed(int place, bool autoPlayOff) const {
    if (autoPlayOff && place == 0) {
        const uint16_t user = ::UserAtPlace(0);
        return IsUserHandledHere(user) && IsComputerUser(user);
    }
    return ::IsPlaceAutoPlayed(place);
}

bool CGameBiddingHost::HandlesComputerPartner() const {
    return m_flow.HandlesComputerPartner();
}
bool CGameBiddingHost::IsAutoPlay() const {
    return g_bAutoPlay != 0;
}
bool CGameBiddingHost::IsSeated() const {
    return g_bSeated != 0;
}
bool CGameBiddingHost::IsPlaceHandledHere(int place) const {
    return ::IsPlaceHandledHere(place);
}
bool CGameBiddingHost::MainViewExists() const {
    return g_pMainFrame && g_pView;
}
int CGameBiddingHost::Dealer() const {
    return g_nDealer;
}
int CGameBiddingHost::BidRule() const {
    return g_nBidRule;
}

void CGameBiddingHost::SetBidder(int place) {
    g_nBidder = place;
}

void CGameBiddingHost::ClearTurnMarker(int place) {
    m_flow.SetStatus({});
    if (place >= 0 && place < 4 && g_pHand[place]) g_pHand[place]->DrawLabel(true, false);
}

void CGameBiddingHost::RefreshTable() {
    m_flow.RefreshTable();
}

void CGameBiddingHost::ClearContract() {
    ResetContract();
}

void CGameBiddingHost::CommitContract(const BiddingOutcome& o) {
    g_contract.doubledBy = o.doubledBy;
    g_contract.redoubledBy = o.redoubledBy;
    g_contract.declarer = o.declarer;
    if (o.declarer < 0) {
        g_contract.value = g_contract.trump = g_contract.turn = -1;
        return;
    }
    g_contract.value = o.value;
    g_contract.trump = o.trump;
    g_contract.turn = o.turn;
    SetDealInt(g_nDeals, kDealTrump, o.trump);
    SetDealInt(g_nDeals, kDealDouble, o.doubleLevel);
    char value[16];
    std::snprintf(value, sizeof value, "%d", o.value);
    SetDealText(g_nDeals, kDealValue, kDealValueLen, value);
    SetDealText(g_nDeals, kDealDeclarer, kDealNameLen, NameAtPlace(o.declarer).c_str());
    EvaluateDeclarations();
}

void CGameBiddingHost::StopComputerSearch() {
    g_bComputerSearch = 0;
}

void CGameBiddingHost::Wait(int ms) {
    m_flow.Wait(ms, true);
}
