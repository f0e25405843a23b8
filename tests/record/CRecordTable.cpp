#include "tests/record/CRecordTable.h"

#include <algorithm>
#include <cstring>
#include <random>

#include "net/UsersList.h"
#include "rules/CCard.h"
#include "rules/CCardPile.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/GameState.h"

namespace {

const char* const kNames[4] = {"Anna", "Bert", "Cleo", "Dirk"};

// Seats the own user (0: none at the table) and gives every hand its place's user.
void Seat(CConn& conn, int ownSeat) {
    conn.m_nUserId = static_cast<int16_t>(ownSeat >= 1 && ownSeat <= 4 ? ownSeat - 1 : 50);
    g_pConn = &conn;
    for (int id = 0; id < 4; ++id)
        g_UsersList[id].aux = 0xFFFF;
    RebuildSeating();
    for (int place = 0; place < 4; ++place)
        if (g_pHand[place]) g_pHand[place]->AssignUser(UserAtPlace(place));
}

} // namespace

std::string CRecordBidHost::NameAtPlace(int place) const {
    const int user = ::UserAtPlace(place);
    return user < kMaxUsers ? g_UsersList[user].name : "";
}

CRecordTable::CRecordTable(int ownSeat) {
    ResetGameStateForStart();
    std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
    for (int id = 0; id < 4; ++id) {
        USERINFO& u = g_UsersList[id];
        u.state = static_cast<uint16_t>((id + 1) | 0x8000);
        u.owner = static_cast<uint16_t>(id);
        std::strncpy(u.name, kNames[id], sizeof u.name - 1);
    }
    g_pDeck = new CCardPile(32);
    for (CPlayerHand*& hand : g_pHand)
        hand = new CPlayerHand(kNoUser, 8);
    g_pTable = new CTrickPile(4, 8);
    Seat(m_conn, ownSeat);
    g_nDealer = 0;
    g_pRecordView = this;
    g_pRecordFrame = this;
}

CRecordTable::~CRecordTable() {
    g_pRecordView = nullptr;
    g_pRecordFrame = nullptr;
    m_bidding.reset();
    DeleteGameObjects();
    g_pConn = nullptr;
    std::memset(g_UsersList, 0, sizeof(USERINFO) * kMaxUsers);
    ResetGameStateForStart();
}

void CRecordTable::MoveOwnUser(int ownSeat) {
    for (CPlayerHand* hand : g_pHand)
        hand->AssignUser(kNoUser);
    Seat(m_conn, ownSeat);
}

void CRecordTable::Deal(uint32_t seed) {
    std::vector<int> codes = {0, 1, 2, 3};
    for (int c = 24; c < 52; ++c)
        codes.push_back(c);
    std::shuffle(codes.begin(), codes.end(), std::mt19937(seed));
    for (CPlayerHand* hand : g_pHand)
        hand->Clear();
    g_pTable->ResetTricks();
    g_pDeck->ReturnDealt();
    for (int seat = 1; seat <= 4; ++seat) { // eight codes for each seat in turn
        std::vector<uint8_t> list;
        for (int i = 0; i < 8; ++i)
            list.push_back(static_cast<uint8_t>(g_pDeck->FindSlot(codes[(seat - 1) * 8 + i]) + 1));
        list.push_back(0);
        g_pHand[PlaceOfSeat(seat)]->TakeListed(g_pDeck, list.data());
    }
}

void CRecordTable::OpenBidding() {
    m_bidding = std::make_unique<CBiddingModel>(m_host, m_host, m_host);
    m_bidding->Open();
}

void CRecordTable::Call(int place, int value, int suit) {
    if (m_bidding) m_bidding->OnBidCommand(UserAtPlace(place), value + 1, suit + 1);
}

void CRecordTable::SetContract(int value, int trump, int declarerPlace, int doubledBy,
                               int redoubledBy) {
    g_contract = {value, trump, doubledBy, redoubledBy, declarerPlace, NextPlace(g_nDealer)};
    g_nBidder = -1;
    EvaluateDeclarations();
}

void CRecordTable::PlayLegalCards(int n) {
    for (int i = 0; i < n; ++i) {
        const int place = g_contract.turn;
        if (place < 0 || place > 3) return;
        CPlayerHand* hand = g_pHand[place];
        for (int slot = 0; slot < kPileSlots; ++slot) {
            const CCard* card = hand->CardAt(slot);
            if (card && g_pTable->IsLegalCard(hand, slot)) {
                g_pTable->PlayCard(place, card->m_nCode);
                break;
            }
        }
    }
}

void CRecordTable::ResetForApply() {
    for (CPlayerHand* hand : g_pHand)
        hand->Clear();
    g_pTable->ResetTricks();
    g_pDeck->ReturnDealt();
    ResetGame();
    g_nDealer = g_nBidder = -1;
    g_nBidRule = 0;
    std::memset(g_declare, 0, sizeof g_declare);
    m_bidding.reset();
    m_chat.clear();
}

bool CRecordTable::SaveBidding(std::vector<uint8_t>& out) {
    if (!m_bidding) return false;
    out = m_bidding->SaveState();
    return true;
}

void CRecordTable::RestoreBidding(std::span<const uint8_t> state) {
    OpenBidding();
    m_bidding->RestoreState(state.data(), state.size());
}
