// The handlers of the single game commands.
#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "ai/GameCommands.h"
#include "app/CBidPanelCore.h"
#include "app/CCommandDispatcher.h"
#include "app/CGameFlow.h"
#include "app/IFrameUi.h"
#include "app/IGameConn.h"
#include "app/NetCommands.h"
#include "net/UsersList.h"
#include "platform/Trace.h"
#include "record/CRecordReader.h"
#include "record/RecordEscape.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/GameState.h"
#include "rules/ViewUtil.h"

namespace {

bool ValidPlace(int p) {
    return p >= 0 && p <= 3 && g_pHand[p] != nullptr;
}

bool Named(int user) {
    return user >= 0 && user < kMaxUsers && g_UsersList[user].name[0] != 0;
}

// The acting user's place; a user id without an entry sits nowhere (an empty
// entry would otherwise read as place 0).
int PlaceOfActor(int user) {
    return Named(user) ? PlaceOfUser(user) : -1;
}

bool ActorHandledHere(int user) {
    return Named(user) && IsUserHandledHere(user);
}

std::string NameOf(int user) {
    if (user < 0 || user >= kMaxUsers) return {};
    const char* name = g_UsersList[user].name;
    return std::string(name, strnlen(name, sizeof g_UsersList[user].name));
}

const char* AsText(const uint8_t* text) {
    return reinterpret_cast<const char*>(text);
}

// Computer partner numbers the AutoPartner menu offers.
bool ValidPartner(int k) {
    return k >= 1 && k <= 4;
}

} // namespace

void CCommandDispatcher::ApplyPlaceState(int user, uint16_t state) {
    if (user < 0 || user >= kMaxUsers) return;
    if (state == kGameOverState) {
        g_bGameRunning = 0;
        g_bAutoPlay = 0;
        g_bComputerSearch = 0;
        RefreshComputerFlags();
        state = 0;
    }
    USERINFO& e = g_UsersList[user];
    if (g_bGameRunning && (e.state & kStartedBit) && state == 0) {
        // A started player left the table: the game waits for the seats to fill again.
        RefreshComputerFlags();
        Trace("stopped");
        m_flow.KeepRunningGame();
        m_flow.StopGame();
        e.state = 0;
        m_flow.PostStep(STEP_CHECK_TABLE, 0);
        return;
    }
    e.state = state;
    if (m_flow.SeatPanel()) m_flow.ApplySeatState(user, state);
}

void CCommandDispatcher::OnChat(int from, const uint8_t* text) {
    m_flow.ShowChatLine(from, AsText(text));
}

void CCommandDispatcher::OnDealPacket(const uint8_t* text, size_t length) {
    if (length < 1 || !g_pDeck) return;
    const int place = PlaceOfActor(text[0] - 1);
    if (!ValidPlace(place)) return;
    g_pHand[place]->TakeListed(g_pDeck, text + 1);
    for (CPlayerHand* hand : g_pHand)
        if (!hand || hand->Count() != hand->m_nFull) return;
    if (g_pHand[0]->m_nFaceMode != kDrawBack) g_pHand[0]->Arrange();
    m_flow.RefreshTable();
    InvalidateView();
    m_flow.PostStep(STEP_OPEN_BIDDING, 0);
}

void CCommandDispatcher::OnNewDeal(int from) {
    const int place = PlaceOfActor(from);
    g_nDealer = place >= 0 ? place : 1;
    Trace("deal %d", g_nDeals + 1);
    m_flow.ClearTable();
    if (ActorHandledHere(from)) m_flow.PostStep(STEP_DEAL_CARDS, 0);
}

void CCommandDispatcher::OnAttach(const uint8_t* text) {
    if (text[0] != 0) m_flow.Frame().AddUserName(AsText(text));
}

void CCommandDispatcher::OnDetach(int user, const uint8_t* text) {
    // The computer partners that the leaving program ran leave with it.
    for (int v = 0; v < kMaxUsers; ++v) {
        USERINFO& e = g_UsersList[v];
        if (e.name[0] == 0 || e.owner != user || v == user) continue;
        ApplyPlaceState(v, 0);
        m_flow.Frame().RemoveUserName(NameOf(v));
        std::memset(&g_UsersList[v], 0, sizeof(USERINFO));
    }
    ApplyPlaceState(user, 0);
    m_flow.Frame().RemoveUserName(AsText(text));
    if (user >= 0 && user < kMaxUsers) std::memset(&g_UsersList[user], 0, sizeof(USERINFO));
    // The program we asked for the running game will not answer any more.
    if (user == m_flow.AskedUser() && g_bStateAsked && !g_bStateDone) {
        g_bStateDone = 1;
        m_held.clear();
        m_flow.PostStep(STEP_CHECK_TABLE, 0);
    }
    // The own user is reported gone only when the connection to the dealer closed.
    if (user >= 0 && user == OwnUserId()) {
        m_held.clear();
        m_flow.OnConnectionLost();
    }
}

void CCommandDispatcher::RecordSnapshotFor(int from) {
    if (PlaceOfActor(from) == 0 && g_bSeated) m_flow.RecordReplaySnapshot();
}

void CCommandDispatcher::OnBid(int from, const uint8_t* text, size_t length) {
    if (!m_flow.BidPanel()) return;
    RecordSnapshotFor(from);
    if (CBidPanelCore* panel = m_flow.BidPanel()) {
        panel->OnBid(from, text[0], length > 1 ? text[1] : 0);
        m_flow.NotifyBiddingPanel();
    }
}

void CCommandDispatcher::OnBidFinish(int from, const uint8_t* text) {
    if (CBidPanelCore* panel = m_flow.BidPanel()) {
        panel->OnFinish(from, text[0]);
        m_flow.NotifyBiddingPanel();
    }
}

void CCommandDispatcher::OnPlayCard(int from, const uint8_t* text) {
    const int card = text[0] - 1;
    const int p = PlaceOfActor(from);
    RecordSnapshotFor(from);
    m_flow.RemoveOverlay();
    if (!g_bSeated && m_flow.BidPanel()) m_flow.CloseBiddingPanel();
    if (!g_pTable || !ValidPlace(p) || card < 0) return;
    DeclarationRecord& d = g_declare[p];
    if (d.announced && PartnershipWinsDeclarations(p) && g_pTable->HasLastTrick() && !d.shown)
        d.announced = 0;
    m_flow.SetStatus({});
    g_pHand[p]->DrawLabel(false, false);
    Trace("card %d %d", SeatOfPlace(p), card);
    m_flow.CountPlayedCard();
    g_pTable->PlayCard(p, card);
    g_pTable->Redraw(false);
    m_flow.AfterCardPlayed();
}

void CCommandDispatcher::OnShowCards(int from, const uint8_t* text, size_t length) {
    const int p = PlaceOfActor(from);
    m_flow.RemoveOverlay();
    for (size_t i = 0; i < length; ++i) {
        if (!g_pTable) return;
        if (!ValidPlace(p)) continue;
        g_pHand[p]->ToggleShowCode(text[i] - 1, true);
        if (p == 0 && g_bSeated) {
            if (g_pHand[0]->m_nSelCount > 0)
                m_flow.RaiseShowButton(g_pHand[0]->SelectionValue() == 1);
            else
                m_flow.RemoveShowButton();
        }
    }
    if (ValidPlace(p) && IsPlaceAutoPlayed(p) && g_pHand[p]->SelectionValue() == 1) {
        const int turn = g_contract.turn;
        m_flow.Conn().BroadcastCmd(-1, CMD_SHOW_DONE, g_szEmpty,
                                   static_cast<int16_t>(UserAtPlace(turn)));
    }
}

void CCommandDispatcher::OnShowDone(int from) {
    const int p = PlaceOfActor(from);
    if (ValidPlace(p)) {
        g_pHand[p]->ShowDeclaration();
        m_flow.RemoveShowButton();
        g_declare[p].shown = 1;
        if (IsPlaceAutoPlayed(p)) m_flow.PostStep(STEP_AUTO_CARD, 0);
    }
    m_flow.UpdateStatus();
}

void CCommandDispatcher::OnStateRequest(int from) {
    const std::string text = m_flow.BuildStateReplyText();
    m_flow.Conn().BroadcastCmd(static_cast<int16_t>(from), CMD_STATE_REPLY, text.c_str(), -1);
    // Asked after our answer, so that the asker has it before our question.
    m_flow.AskBackForKeptGame(from);
}

void CCommandDispatcher::OnStateReply(int from, uint8_t* text, size_t length) {
    if (from >= 0 && from == m_flow.KeptGameAskedUser()) {
        // The answer to our question for a kept game: nothing but that game is taken.
        const size_t n = length > 0 ? UnescapeRecord(text, length) : 0;
        m_flow.TakeKeptGameAnswer(std::span<const uint8_t>(text, n));
        return;
    }
    // Only the answer to our own question is taken: a reply nobody asked for
    // would overwrite the game this program follows.
    if (!g_bStateAsked || g_bStateDone) return;
    if (length > 0) {
        // The table's pending game (carried in the record) replaces ours; ours
        // stays only when the table has none and runs no game.
        bool ownUnsaved = false;
        RecordPtr own = m_flow.ReleasePendingGame(&ownUnsaved);
        ResetContract();
        g_nDealer = -1;
        g_nBidRule = 0;
        g_nBidder = -1;
        g_nDeals = 0;
        g_score[0] = g_score[1] = 0;
        const size_t n = UnescapeRecord(text, length);
        if (ApplyRecord(std::span<const uint8_t>(text, n)) >= 0 && g_pTable)
            g_pTable->ShowCurrentTrick();
        m_flow.TakeStateReplyPending(std::move(own), ownUnsaved);
    }
    g_bStateDone = 1;
    m_flow.PostStep(STEP_CHECK_TABLE, 0);
    // The commands held meanwhile are applied once this handler is done, so that
    // the steps they post run between them as they would have.
    m_bReplaying = true;
    m_bReplayDue = true;
}

bool CCommandDispatcher::HoldWhileAsking(int command, int from, const uint8_t* text,
                                         size_t length) {
    if (!m_bReplaying && (!g_bStateAsked || g_bStateDone)) return false;
    switch (command) {
    case CMD_DEAL_PACKET:
    case CMD_NEW_DEAL:
    case CMD_BID:
    case CMD_BID_FINISH:
    case CMD_PLAY_CARD:
    case CMD_SHOW_CARDS:
    case CMD_SHOW_DONE:
    case CMD_DECLARE:
    case CMD_AUTOPLAY:
        break;
    default:
        return false;
    }
    // Covered by the answer: nothing to keep.
    const std::vector<uint32_t>& marks = m_flow.AskMarks();
    if (!m_bReplaying && !marks.empty() && m_nHandled <= marks.front()) return true;
    if (m_held.size() < kMaxHeldCommands)
        m_held.push_back(
            {m_nHandled, command, from, std::string(reinterpret_cast<const char*>(text), length)});
    return true;
}

bool CCommandDispatcher::AnswerFitsMark(uint32_t mark) const {
    // The held commands split into deals at each new deal. The answer covers those
    // numbered up to the mark: it shows the deal of the last new deal up to the
    // mark, or, without one, the deal that ran when the first question went out.
    size_t begin = 0, end = m_held.size();
    int newDeal = -1;
    for (size_t i = 0; i < m_held.size(); ++i) {
        if (m_held[i].command != CMD_NEW_DEAL) continue;
        if (m_held[i].number > mark) {
            end = i;
            break;
        }
        newDeal = static_cast<int>(i);
        begin = i + 1;
    }
    if (!CallsFitMark(begin, end, mark, newDeal >= 0)) return false;
    const auto bit = [](int code) { return code >= 0 && code < 64 ? uint64_t{1} << code : 0; };
    // After a new deal the answer shows its dealer and what its packets up to the
    // mark dealt to each place.
    uint64_t dealt[4] = {};
    int dealtCount = 0;
    if (newDeal >= 0) {
        const int dealer = PlaceOfActor(m_held[static_cast<size_t>(newDeal)].from);
        if (g_nDealer != (dealer >= 0 ? dealer : 1) || !g_pDeck) return false;
        for (size_t i = begin; i < end && m_held[i].number <= mark; ++i) {
            const HeldCommand& c = m_held[i];
            if (c.command != CMD_DEAL_PACKET || c.text.empty()) continue;
            const int p = PlaceOfActor(static_cast<uint8_t>(c.text[0]) - 1);
            if (!ValidPlace(p)) continue;
            for (size_t k = 1; k < c.text.size(); ++k) {
                const CCard* card = g_pDeck->CardAt(static_cast<uint8_t>(c.text[k]) - 1);
                const uint64_t b = card ? bit(card->m_nCode) : 0;
                dealtCount += (dealt[p] & b) || !b ? 0 : 1;
                dealt[p] |= b;
            }
        }
    }
    // Cards covered by the answer are out of their hands; after a new deal the
    // others dealt by then are still in.
    int played = 0;
    for (size_t i = begin; i < end; ++i) {
        const HeldCommand& c = m_held[i];
        const int p = PlaceOfActor(c.from);
        if (c.command != CMD_PLAY_CARD || c.text.empty() || !ValidPlace(p)) continue;
        const int code = static_cast<uint8_t>(c.text[0]) - 1;
        const bool inHand = g_pHand[p]->FindSlot(code) >= 0;
        if (c.number <= mark) {
            if (inHand) return false;
            ++played;
        } else if (!inHand && (dealt[p] & bit(code))) {
            return false;
        }
    }
    if (newDeal < 0) return true;
    // And the hands hold nothing else.
    int inHands = 0;
    for (int p = 0; p < 4; ++p) {
        if (!ValidPlace(p)) return false;
        for (int slot = 0; slot < kPileSlots; ++slot) {
            const CCard* card = g_pHand[p]->CardAt(slot);
            if (!card) continue;
            if (!(dealt[p] & bit(card->m_nCode))) return false;
            ++inHands;
        }
    }
    return inHands == dealtCount - played;
}

bool CCommandDispatcher::CallsFitMark(size_t begin, size_t end, uint32_t mark,
                                      bool wholeBidding) const {
    // The calls covered by the answer end the bidding log it shows (make all of
    // it after a new deal); once the bidding is closed there is none to compare.
    const CBidPanelCore* panel = m_flow.BidPanel();
    if (!panel) return true;
    using Call = std::array<int, 3>; // seat, value, suit byte
    const CBiddingModel& model = panel->Model();
    std::vector<Call> shown, covered;
    for (int i = 0; i + 2 < model.LogLength(); i += 3) {
        const uint8_t* e = model.Log() + i;
        if (e[2] != CALL_AUTO_PASS) shown.push_back({e[0], e[1], e[2]});
    }
    for (size_t i = begin; i < end && m_held[i].number <= mark; ++i) {
        const HeldCommand& c = m_held[i];
        const int p = PlaceOfActor(c.from);
        int value = 0, suit = 0;
        if (c.command != CMD_BID || c.text.empty() || !ValidPlace(p) ||
            !ReadIncomingCall(static_cast<uint8_t>(c.text[0]),
                              c.text.size() > 1 ? static_cast<uint8_t>(c.text[1]) : 0, &value,
                              &suit))
            continue;
        covered.push_back({SeatOfPlace(p), value, suit});
    }
    if (covered.size() > shown.size() || (wholeBidding && covered.size() != shown.size()))
        return false;
    return std::equal(covered.begin(), covered.end(), shown.end() - covered.size());
}

uint32_t CCommandDispatcher::AnsweredMark() const {
    // Which question the answer belongs to: the latest one whose commands before
    // it the answer shows and whose commands after it the answer does not. A
    // question may be asked again before the answer to an earlier one arrives, and
    // the first answer that comes is taken, whichever question it answers.
    const std::vector<uint32_t>& marks = m_flow.AskMarks();
    if (marks.empty()) return 0;
    for (auto m = marks.rbegin(); m != marks.rend(); ++m)
        if (AnswerFitsMark(*m)) return *m;
    return marks.front();
}

void CCommandDispatcher::ReplayHeldCommands() {
    const uint32_t mark = AnsweredMark();
    // The steps each command posts (opening the bidding after the last deal packet)
    // run before the next one, as they would have; what arrives meanwhile joins the
    // end of the list.
    // The table is checked on the answer as it came: on a deal played out by the
    // commands that follow, the check would take the full table pile for the end
    // of the game and start a new one.
    m_flow.PumpMessages();
    for (size_t i = 0; i < m_held.size(); ++i) {
        const HeldCommand c = m_held[i];
        // Posted before the answered question went out: covered by the answer.
        if (c.number <= mark) continue;
        const auto* text = reinterpret_cast<const uint8_t*>(c.text.c_str());
        if (c.command == CMD_PLAY_CARD) {
            // A card no longer in its player's hand is already on the table or in
            // a finished trick.
            const int p = PlaceOfActor(c.from);
            if (c.text.empty() || !ValidPlace(p) || g_pHand[p]->FindSlot(text[0] - 1) < 0) continue;
        }
        m_flow.EnterHandler();
        Apply(c.command, c.from, text, c.text.size(), 0);
        m_flow.LeaveHandler();
        m_flow.PumpMessages();
    }
    Trace("state-reply mark %u held %zu", static_cast<unsigned>(mark), m_held.size());
    m_held.clear();
    m_bReplaying = false;
}

void CCommandDispatcher::OnDeclare(int from) {
    const int p = PlaceOfActor(from);
    if (ValidPlace(p)) {
        g_declare[p].announced = 1;
        const char* t = g_declare[p].text;
        m_flow.ShowChatLine(from, std::string(t, strnlen(t, sizeof g_declare[p].text)));
        if (g_declare[NextPlace(p)].announced || g_declare[PreviousPlace(p)].announced)
            m_flow.ShowRefereeOrderLine();
        if (IsPlaceAutoPlayed(p)) m_flow.PostStep(STEP_AUTO_CARD, 0);
    }
    m_flow.UpdateStatus();
}

void CCommandDispatcher::OnAutoPlay(int from, const uint8_t* text) {
    const int p = PlaceOfActor(from);
    if (!ValidPlace(p)) return;
    g_pHand[p]->m_bComputer = text[0] > 1 ? 1 : 0;
    m_flow.RefreshTable();
}

void CCommandDispatcher::OnAddAuto(int from, const uint8_t* text) {
    const int k = static_cast<int8_t>(text[0]);
    if (!ValidPartner(k) || from < 0 || from >= kMaxUsers) return;
    if (!AddAutoPlayer(g_UsersList, static_cast<char>(k), static_cast<short>(from))) return;
    const int user = kAutoPlayerBase + k;
    m_flow.Frame().AddUserName(NameOf(user));
    ApplyPlaceState(user, static_cast<uint16_t>(k | kStartedBit));
}

void CCommandDispatcher::OnDelAuto(const uint8_t* text) {
    const int k = static_cast<int8_t>(text[0]);
    if (!ValidPartner(k)) return;
    const int user = kAutoPlayerBase + k;
    ApplyPlaceState(user, 0);
    m_flow.Frame().RemoveUserName(NameOf(user));
    DelAutoPlayer(g_UsersList, static_cast<char>(k));
}
