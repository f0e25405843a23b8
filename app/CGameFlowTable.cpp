// The game flow's table operations: clearing and refreshing the table, the
// status line, and opening and closing the panels.
#include "app/CGameFlow.h"

#include <algorithm>
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

// ---- table operations --------------------------------------------------------------

bool CGameFlow::FrameAndView() const {
    return g_pMainFrame && g_pView;
}

void CGameFlow::RemoveOverlay() {
    if (!g_bOverlay) return;
    g_bOverlay = 0;
    m_view.RestoreOverlayPicture();
    m_view.RaiseChildren();
    InvalidateView();
}

void CGameFlow::RefreshTable() {
    RemoveOverlay();
    if (g_pTable) g_pTable->Redraw(false);
    for (CPlayerHand* hand : g_pHand)
        if (hand) hand->Redraw(false);
    UpdateStatus();
    InvalidateView();
}

void CGameFlow::ClearTable() {
    CloseSeatPanel();
    CloseBiddingPanel();
    for (CPlayerHand* hand : g_pHand)
        if (hand) hand->Clear();
    RefreshTable();
    if (g_pDeck) g_pDeck->ReturnDealt();
    if (g_pTable) g_pTable->ResetTricks();
}

void CGameFlow::StopGame() {
    RemoveOverlay();
    g_nBidder = -1;
    ClearTable();
    g_bSeated = g_bGameRunning = 0;
    g_bAutoPlay = 0;
    g_bComputerSearch = 0;
    for (CPlayerHand* hand : g_pHand)
        if (hand) hand->AssignUser(kNoUser);
    m_view.FillTable();
}

void CGameFlow::SetStatus(const std::string& text) {
    if (FrameAndView()) m_frame.SetStatusText(text);
}

namespace {

std::string Format(const char* pattern, const char* arg) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, arg);
    return text;
}

} // namespace

void CGameFlow::UpdateStatus() {
    if (!FrameAndView()) return;
    const int bidder = g_nBidder;
    if (bidder >= 0) {
        if (bidder < 4 && g_pHand[bidder] && bidder != g_nMarkerPlace) {
            if (bidder == 0 && g_bSeated)
                SetStatus(m_platform.Text(kStatusChooseCall));
            else
                SetStatus(
                    Format(m_platform.Text(kStatusWaitingCall).c_str(), g_pHand[bidder]->m_szName));
            g_pHand[bidder]->DrawLabel(true, true);
        }
        return;
    }
    const int turn = g_contract.turn;
    if (turn >= 0 && turn < 4 && g_pHand[turn]) {
        if (turn == 0 && g_bSeated)
            SetStatus(m_platform.Text(kStatusSelectCard));
        else
            SetStatus(Format(m_platform.Text(kStatusWaitingMove).c_str(), g_pHand[turn]->m_szName));
        g_pHand[turn]->DrawLabel(true, true);
        return;
    }
    SetStatus({});
}

// ---- panels ------------------------------------------------------------------------

void CGameFlow::CloseBiddingPanel() {
    if (!m_bidPanel) return;
    m_view.HideBiddingPanel();
    m_retiredBidPanels.push_back(std::move(m_bidPanel));
    if (m_nDepth == 0) m_retiredBidPanels.clear();
}

void CGameFlow::CloseSeatPanel() {
    if (!m_seatPanel) return;
    m_view.HideSeatPanel();
    m_retiredSeatPanels.push_back(std::move(m_seatPanel));
    if (m_nDepth == 0) m_retiredSeatPanels.clear();
    RemoveOverlay();
    ResetGame();
}

void CGameFlow::EnterHandler() {
    ++m_nDepth;
}

void CGameFlow::LeaveHandler() {
    if (--m_nDepth > 0) return;
    m_nDepth = 0;
    m_retiredBidPanels.clear();
    m_retiredSeatPanels.clear();
    if (m_nStepDepth > 0) return;
    std::vector<std::pair<int, intptr_t>> deferred;
    deferred.swap(m_deferredSteps);
    for (const auto& [step, arg] : deferred)
        PostStep(step, arg);
}

void CGameFlow::OpenSeatPanel() {
    m_seatPanel = std::make_unique<CSeatPanel>(m_conn, [this] { m_platform.Beep(kBeepSimple); });
    CSeatPanel* panel = m_seatPanel.get();
    m_view.ShowSeatPanel(*panel);
    for (int user = 0; user < kMaxUsers && m_seatPanel.get() == panel; ++user) {
        const USERINFO& e = g_UsersList[user];
        if (e.name[0] != 0 && e.state != 0) ApplySeatState(user, e.state);
    }
}

void CGameFlow::ApplySeatState(int user, uint16_t state) {
    if (!m_seatPanel || !m_seatPanel->Apply(user, state)) return;
    RefreshComputerFlags();
    CloseSeatPanel();
    if (m_pending) {
        ResumePendingGame();
        return;
    }
    g_nDealer = PlaceOfSeat(1);
    if (m_nKeptAskUser >= 0) {
        // A program we asked may hold a kept game: no fresh game over it.
        m_bDealAwaitsAnswer = true;
        return;
    }
    if (IsPlaceHandledHere(g_nDealer)) PostStep(STEP_ANNOUNCE_DEAL, UserAtPlace(g_nDealer));
}

void CGameFlow::ResumePendingGame() {
    RecordPtr pending = std::move(m_pending);
    m_bUnsaved = false;
    Trace("resumed");
    ApplyGameRecord(pending->Bytes(), false);
}

bool CGameFlow::HandlesComputerPartner() const {
    for (int place = 0; place < 4; ++place) {
        const uint16_t user = UserAtPlace(place);
        if (IsUserHandledHere(user) && IsComputerUser(user)) return true;
    }
    return false;
}

void CGameFlow::RaiseShowButton(bool enabled) {
    m_bShowButton = true;
    m_bShowButtonEnabled = enabled;
    m_view.ShowShowButton(enabled);
}

void CGameFlow::RemoveShowButton() {
    if (!m_bShowButton) return;
    m_bShowButton = false;
    m_bShowButtonEnabled = false;
    m_view.HideShowButton();
}

void CGameFlow::SendCommand(int16_t cmd, const std::string& text, int16_t from) {
    m_conn.BroadcastCmd(-1, cmd, text.c_str(), from);
}
