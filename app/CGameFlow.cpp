#include "app/CGameFlow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "ai/CComputerPlayer.h"
#include "ai/GameCommands.h"
#include "app/CBidPanelCore.h"
#include "app/CSeatPanel.h"
#include "app/IFlowPlatform.h"
#include "app/IFrameUi.h"
#include "app/IGameConn.h"
#include "app/IViewUi.h"
#include "net/UsersList.h"
#include "platform/MessageSink.h"
#include "platform/Trace.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"
#include "rules/ViewUtil.h"

namespace {

CGameFlow* s_hookFlow = nullptr;

bool OtherHumanAtTable() {
    int humans = 0;
    for (int user = 0; user < kMaxUsers; ++user)
        if (g_UsersList[user].name[0] != 0 && g_UsersList[user].owner == user) ++humans;
    return humans >= 2;
}

void PumpHook(void* context) {
    static_cast<CGameFlow*>(context)->PumpMessages();
}

void SimpleBeepHook() {
    if (s_hookFlow) s_hookFlow->Platform().Beep(kBeepSimple);
}

} // namespace

CGameFlow::CGameFlow(IFlowPlatform& platform, IGameConn& conn, IMessageSink* viewSink,
                     IFrameUi& frame, IViewUi& view, GameFlowOptions options)
    : m_platform(platform), m_conn(conn), m_pViewSink(viewSink), m_frame(frame), m_view(view),
      m_options(options), m_biddingHost(*this) {
    s_hookFlow = this;
    CComputerPlayer::SetPumpHook(&PumpHook, this);
    CComputerPlayer::SetBeepHook(&SimpleBeepHook);
    g_pRecordView = this;
    g_pRecordFrame = this;
}

CGameFlow::~CGameFlow() {
    if (g_pRecordView == this) g_pRecordView = nullptr;
    if (g_pRecordFrame == this) g_pRecordFrame = nullptr;
    if (s_hookFlow == this) {
        s_hookFlow = nullptr;
        CComputerPlayer::SetPumpHook(nullptr, nullptr);
        CComputerPlayer::SetBeepHook(nullptr);
    }
}

// ---- steps -------------------------------------------------------------------------

void CGameFlow::PostStep(int step, intptr_t arg) {
    if (m_pViewSink) m_pViewSink->PostMessage(WM_GAME_STEP, static_cast<uintptr_t>(step), arg);
}

void CGameFlow::OnGameStep(int step, intptr_t arg) {
    if (step < STEP_ANNOUNCE_DEAL || step > STEP_BID_TURN || !FrameAndView()) return;
    if (m_nStepDepth > 0 || m_nDepth > 0) {
        // A step met by the pump of a waiting step runs after that step: steps never
        // nest, so a table of computers cannot pile them up without end. Nor does a
        // step run inside a command handler's pump (a trick being gathered): its
        // wait for an idle table would wait on that very handler.
        m_deferredSteps.emplace_back(step, arg);
        return;
    }
    ++m_nStepDepth;
    EnterHandler();
    switch (step) {
    case STEP_ANNOUNCE_DEAL:
        WaitSynchro(10, true);
        if (FrameAndView()) AnnounceDeal(arg);
        break;
    case STEP_DEAL_CARDS:
        DealCards();
        break;
    case STEP_CHECK_TABLE:
        CheckTable();
        break;
    case STEP_OPEN_BIDDING:
        OpenBidding();
        break;
    case STEP_AUTO_CARD:
        WaitSynchro(40, true);
        if (FrameAndView()) AutoCard();
        break;
    case STEP_AUTO_BID:
        AutoBid();
        break;
    case STEP_BID_TURN:
        BidTurn();
        break;
    default:
        break;
    }
    LeaveHandler();
    LeaveStep();
}

void CGameFlow::LeaveStep() {
    if (--m_nStepDepth > 0) return;
    m_nStepDepth = 0;
    std::vector<std::pair<int, intptr_t>> deferred;
    deferred.swap(m_deferredSteps);
    for (const auto& [step, arg] : deferred)
        PostStep(step, arg);
}

void CGameFlow::AnnounceDeal(intptr_t dealerUser) {
    m_conn.BroadcastCmd(-1, CMD_NEW_DEAL, g_szEmpty, static_cast<int16_t>(dealerUser));
}

void CGameFlow::DealCards() {
    WaitSynchro(10, true);
    const int d = g_nDealer;
    if (d < 0 || d > 3 || !g_pDeck) return;
    static const int kPacket[3] = {3, 2, 3};
    for (int n : kPacket) {
        const int order[4] = {NextPlace(d), PartnerPlace(d), PreviousPlace(d), d};
        for (int place : order) {
            if (!g_pDeck || !g_pHand[place]) continue;
            g_pHand[place]->SendDeal(g_pDeck, n);
            Wait(40, true);
        }
    }
}

bool CGameFlow::MakeGameObjects() {
    if (!g_pDeck) g_pDeck = new (std::nothrow) CCardPile(32);
    if (!g_pDeck) return false;
    if (!g_pTable) g_pTable = new (std::nothrow) CTrickPile(4, 8);
    if (!g_pTable) return false;
    for (auto& hand : g_pHand) {
        if (!hand) hand = new (std::nothrow) CPlayerHand(kNoUser, 8);
        if (!hand) return false;
    }
    return true;
}

void CGameFlow::CheckTable() {
    if (!MakeGameObjects()) return;
    if (RebuildSeating()) {
        for (int place = 0; place < 4; ++place)
            g_pHand[place]->AssignUser(UserAtPlace(place));
        // A played-out deal starts a new game only once the game is over: between
        // two deals of a running game (an answer taken there) the next dealer deals.
        if (g_pTable->Count() >= 32 && (g_score[0] > 300 || g_score[1] > 300)) {
            ResetContract();
            ClearDealRecord();
            g_nDeals = 0;
            g_score[0] = g_score[1] = 0;
            if (IsPlaceHandledHere(g_nDealer)) {
                PostStep(STEP_ANNOUNCE_DEAL, UserAtPlace(g_nDealer));
                return;
            }
        }
    }
    if (!AskForRunningGame()) return;
    // The four seats started again before this check could open the seat panel
    // (it waited behind a step): the kept game resumes now.
    if (g_bGameRunning && m_pending && !m_seatPanel) {
        ResumePendingGame();
        return;
    }
    RemoveOverlay();
    RemoveShowButton();
    if (!m_bidPanel && !m_seatPanel && !m_bShowButton && !g_bGameRunning) {
        OpenSeatPanel();
        PumpMessages();
        if (g_nDeals != 0 && m_seatPanel) m_view.ShowScoreSheet();
        return;
    }
    RefreshTable();
}

bool CGameFlow::AskForRunningGame() {
    if (g_bStateDone) return true;
    if (g_bStateAsked) return false;
    const int own = OwnUserId();
    for (int user = 0; user < kMaxUsers; ++user) {
        const USERINFO& e = g_UsersList[user];
        if (e.name[0] == 0 || user == own || e.owner != user) continue;
        g_bStateAsked = 1;
        m_nAskedUser = user;
        m_dwAskedTick = m_platform.Tick();
        m_askMarks.assign(1, m_conn.NotificationsPosted());
        m_conn.BroadcastCmd(static_cast<int16_t>(user), CMD_STATE_REQUEST, g_szEmpty, -1);
        return false;
    }
    g_bStateDone = 1;
    return true;
}

void CGameFlow::RepeatStateRequest() {
    RepeatKeptGameRequest();
    if (!g_bStateAsked || g_bStateDone || !FrameAndView()) return;
    const uint32_t now = m_platform.Tick();
    if (static_cast<uint32_t>(now - m_dwAskedTick) < kRunningGameRetryMs) return;
    // The dealer drops a question or an answer built while a counted command was
    // still on its way to its sender; neither side would ever send it again.
    const int user = m_nAskedUser;
    const bool stillThere = user >= 0 && user < kMaxUsers && g_UsersList[user].name[0] != 0 &&
                            g_UsersList[user].owner == user;
    if (!stillThere) {
        g_bStateAsked = 0;
        PostStep(STEP_CHECK_TABLE, 0);
        return;
    }
    Trace("state-request %d again", user);
    m_dwAskedTick = now;
    if (m_askMarks.size() < kMaxAskMarks) m_askMarks.push_back(m_conn.NotificationsPosted());
    m_conn.BroadcastCmd(static_cast<int16_t>(user), CMD_STATE_REQUEST, g_szEmpty, -1);
}

void CGameFlow::OpenBidding() {
    if (m_bidPanel || m_seatPanel || m_bShowButton) return;
    PumpMessages();
    if (m_bidPanel || m_seatPanel || m_bShowButton || !FrameAndView()) return;
    RemoveOverlay();
    if (!OpenBiddingPanel()) return;
    PumpMessages();
    if (m_nScoreShownDeal != g_nDeals) {
        m_view.ShowScoreSheet();
        m_nScoreShownDeal = g_nDeals;
    }
}

bool CGameFlow::OpenBiddingPanel() {
    m_bidPanel = std::make_unique<CBidPanelCore>(
        m_biddingHost, *this, *this, m_options.threadedBidding, [this] { CloseBiddingPanel(); });
    CBidPanelCore* panel = m_bidPanel.get();
    m_view.ShowBiddingPanel(*panel);
    panel->Open();
    if (m_bidPanel.get() == panel) m_view.UpdateBiddingPanel();
    return m_bidPanel.get() == panel;
}

void CGameFlow::AutoCard() {
    CloseBiddingPanel();
    const int p = g_contract.turn;
    if (p < 0 || p > 3 || !g_pHand[p] || !g_pTable) return;
    // Several steps may have been posted for one turn; after the wait only the
    // place that is still to play, and still played here, moves.
    if (!IsPlaceAutoPlayed(p) || g_nBidder >= 0 || g_contract.declarer < 0) return;
    CPlayerHand* hand = g_pHand[p];
    const int16_t u = static_cast<int16_t>(UserAtPlace(p));
    if (g_declare[p].value != 0 && !g_pTable->HasLastTrick() && !g_declare[p].announced) {
        m_conn.BroadcastCmd(-1, CMD_DECLARE, g_szEmpty, u);
        return;
    }
    if (hand->CanShowNow() == 1) {
        const uint32_t set = hand->ComputeDeclaration(g_contract.trump);
        if (set != 0) {
            uint8_t list[kPileSlots + 1];
            hand->ListSelected(set, list);
            m_conn.BroadcastCmd(-1, CMD_SHOW_CARDS, reinterpret_cast<const char*>(list), u);
            return;
        }
    }
    CComputerPlayer player(*this);
    player.PlayTurn(p);
}

void CGameFlow::AutoBid() {
    Wait(600, true);
    WaitSynchro(40, true);
    if (FrameAndView() && m_bidPanel) {
        m_bidPanel->ComputerCall();
        if (m_bidPanel) m_view.UpdateBiddingPanel();
    }
}

void CGameFlow::BidTurn() {
    RemoveOverlay();
    if (m_bidPanel) {
        m_bidPanel->Refresh();
        if (m_bidPanel) m_view.UpdateBiddingPanel();
    }
}

// ---- waiting -----------------------------------------------------------------------

void CGameFlow::PumpMessages() {
    m_platform.PumpMessages();
}

int CGameFlow::ScaledMs(int ms) const {
    if (m_options.pace <= 0) return 0;
    return static_cast<int>(std::lround(ms * m_options.pace));
}

void CGameFlow::WaitUnscaled(int ms, bool pump) {
    if (pump)
        m_platform.PumpMessagesFor(ms);
    else if (ms > 0)
        m_platform.Sleep(ms);
}

void CGameFlow::Wait(int ms, bool pump) {
    WaitUnscaled(ScaledMs(ms), pump);
}

int CGameFlow::WaitSynchro(int tries, bool clearBusy) {
    // Peers answer the probe from their receive threads, often just before their
    // main threads handle the last command: at a fast pace the next try comes
    // soon, and later ones back off so that a slow peer is not flooded.
    const int pause = ScaledMs(kSynchroPauseMs);
    const int64_t limit = int64_t{tries} * std::max(pause, kSynchroPauseMs);
    int backoff = kSynchroFirstBackoffMs;
    for (int64_t waited = 0; waited < limit;) {
        // The library probes the other programs when nothing is queued here.
        if (isBusy.load() == 0 && OtherHumanAtTable()) ++m_nProbes;
        if (m_conn.Synchro() == 0) return 1;
        const int ms = std::max(pause, backoff);
        backoff = std::min(backoff * 2, kSynchroBackoffCapMs);
        WaitUnscaled(ms, true);
        waited += ms;
    }
    if (clearBusy) isBusy = 0;
    return 0;
}

int CGameFlow::TakeProbeCount() {
    return std::exchange(m_nProbes, 0);
}
