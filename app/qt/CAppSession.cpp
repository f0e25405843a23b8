#include "app/qt/CAppSession.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "ai/CAutoPartnerMenu.h"
#include "ai/CComputerPlayer.h"
#include "ai/GameCommands.h"
#include "app/CCommandDispatcher.h"
#include "app/CFrameBridge.h"
#include "app/CGameFlow.h"
#include "app/CReplaySnapshots.h"
#include "app/CSeatPanel.h"
#include "app/NetCommands.h"
#include "app/ScoreText.h"
#include "app/qt/CMainFrame.h"
#include "app/qt/CRunningCopy.h"
#include "app/qt/CVeskView.h"
#include "display/DisplayPace.h"
#include "display/TableWidget.h"
#include "net/Conn.h"
#include "platform/cards/CardRenderer.h"
#include "platform/qt/DeckSetting.h"
#include "platform/qt/FairPartnersSetting.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/SettingsStore.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/GameState.h"
#include "rules/ViewUtil.h"

namespace {

// The keys of the table: any key takes the score sheet away; else Left and
// Right move the mark over the own hand, Enter and Space play the marked card
// and S picks it out for showing, as the mouse buttons do.
void OnTableKey(CGameFlow& flow, int key) {
    if (g_bOverlay) {
        flow.RemoveOverlay();
        return;
    }
    switch (key) {
    case Qt::Key_Left:
        flow.MoveHandMark(-1);
        break;
    case Qt::Key_Right:
        flow.MoveHandMark(1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        flow.PlayMarkedCard();
        break;
    case Qt::Key_S:
        flow.ShowMarkedCard();
        break;
    default:
        break;
    }
}

// The marked card of the own hand: its rectangle and the part that the cards
// lying over it leave visible.
bool HandMark(int slot, QRect& card, QRegion& shown) {
    const CPlayerHand* hand = g_pHand[0];
    if (!hand || slot < 0 || !g_bSeated) return false;
    const CCard* marked = hand->CardAt(slot);
    const ViewSize size = CardSize();
    if (!marked || size.cx <= 0) return false;
    auto rectOf = [&size](const CCard* c) { return QRect(c->m_nX, c->m_nY, size.cx, size.cy); };
    card = rectOf(marked);
    shown = QRegion(card);
    for (int later = slot + 1; later < kPileSlots; ++later)
        if (const CCard* over = hand->CardAt(later)) shown -= rectOf(over);
    return true;
}

// A name label shortened on the table shows the whole name in its tooltip.
QString LabelToolTip(CTablePicture& picture, QPoint at) {
    for (const CPlayerHand* hand : g_pHand) {
        if (!hand || hand->m_nUser == kNoUser) continue;
        const QRect label(hand->m_label[2], hand->m_label[3], hand->m_label[0], hand->m_label[1]);
        if (!label.contains(at)) continue;
        if (picture.MeasureText(hand->m_szName).cx > hand->m_label[0])
            return QString::fromLocal8Bit(hand->m_szName);
        return {};
    }
    return {};
}

} // namespace

CAppSession::CAppSession(const AppOptions& options) : m_options(options) {}

CAppSession::~CAppSession() {
    Shutdown();
}

bool CAppSession::Start() {
    ResetGameStateForStart();
    ReadDeckSetting(CSettingsStore(), g_nCardBack);
    bool fair = false;
    ReadFairPartnersSetting(CSettingsStore(), fair);
    CComputerPlayer::SetFair(fair || m_options.fair);
    std::string faces;
    if (ReadFacesSetting(CSettingsStore(), faces)) UseFaces(QString::fromStdString(faces));
    CDisplayPace::SetFactor(m_options.pace);
    // A copy already running for this user comes to the front; this one starts anyway.
    m_runningCopy = std::make_unique<CRunningCopy>();
    m_runningCopy->onRaise = [this] {
        if (m_frame && !m_finished) m_frame->BringToFront();
    };
    m_runningCopy->Announce();

    m_frame = std::make_unique<CMainFrame>();
    CVeskView& view = m_frame->View();
    GameFlowOptions flowOptions;
    flowOptions.pace = m_options.pace;
    m_flow = std::make_unique<CGameFlow>(m_platform, m_adapter, &view.Sink(), *m_frame, view,
                                         flowOptions);
    m_dispatcher = std::make_unique<CCommandDispatcher>(*m_flow);
    // The connection's notifications reach the frame through the adapter, which counts them.
    m_adapter.SetTarget(&m_frame->Sink());
    m_bridge = std::make_unique<CFrameBridge>(*m_flow);
    m_autoPartner = std::make_unique<CAutoPartnerMenu>(*m_flow);
    WireMenu();
    SetUpGames();

    m_frame->Sink().SetHandler(
        [this](uint32_t msg, uintptr_t w, intptr_t l) { OnFrameMessage(msg, w, l); });
    view.Sink().SetHandler(
        [this](uint32_t msg, uintptr_t w, intptr_t l) { OnViewMessage(msg, w, l); });
    m_frame->SetChatSender([this](const std::string& text) {
        if (g_pConn) m_adapter.BroadcastCmd(-1, CMD_CHAT, text.c_str(), -1);
    });
    CGameFlow* flow = m_flow.get();
    CTableWidget& table = view.Table();
    table.onLeftDown = [flow](QPoint p) { flow->OnLeftButtonDown(p.x(), p.y()); };
    table.onRightDown = [flow](QPoint p) { flow->OnRightButtonDown(p.x(), p.y()); };
    table.onLeftDoubleClick = [flow](QPoint p) { flow->OnLeftDoubleClick(p.x(), p.y()); };
    table.onKey = [flow](int key) { OnTableKey(*flow, key); };
    table.focusMark = [flow](QRect& card, QRegion& shown) {
        return HandMark(flow->MarkedSlot(), card, shown);
    };
    table.toolTipAt = [&view](QPoint at) { return LabelToolTip(view.Picture(), at); };
    view.SetShowHandler([flow] { flow->OnShowButton(); });

    m_frame->show();
    table.EnsurePicture();
    g_pMainFrame = m_bridge.get();
    g_pView = &view.Picture();

    m_conn = new CConn();
    g_pConn = m_conn;
    if (m_options.port != 0) CConn::SetPort(static_cast<uint16_t>(m_options.port));
    if (!Connect()) {
        m_exitCode = 1;
        return false;
    }
    m_adapter.SetConn(m_conn);
    view.Sink().PostMessage(WM_GAME_STEP, STEP_CHECK_TABLE, 0);
    QTimer::singleShot(0, m_frame.get(), [this] { RunCommandLineChoices(); });
    // An unanswered question for the running game is asked again.
    m_askTimer = new QTimer(m_frame.get());
    QObject::connect(m_askTimer, &QTimer::timeout, m_frame.get(), [this] {
        if (m_finished || !m_flow) return;
        std::lock_guard<std::recursive_mutex> lock(CCommandDispatcher::CommandLock());
        m_flow->RepeatStateRequest();
    });
    m_askTimer->start(500);
    return true;
}

bool CAppSession::Connect() {
    const bool scripted = m_options.connType >= 0;
    for (int tries = 1;; ++tries) {
        if (scripted)
            m_conn->SetChoices(ConnChoices{m_options.name, m_options.connType, m_options.joinHost});
        if (m_conn->Init(&m_adapter)) return true;
        if (!scripted) return false; // the player cancelled the welcome dialog
        // The table may not be there yet (a dealer still starting, a port
        // still in use): a few more tries, then the program gives up.
        if (tries >= kStartTries) {
            std::fprintf(stderr, "VeskApp: no table after %d tries; giving up\n", tries);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kStartPauseMs));
    }
}

void CAppSession::RunCommandLineChoices() {
    if (m_finished) return;
    // As a player would, choose only once the table has been checked and the seat
    // panel shows it: the fourth start must find the panel open for a kept game
    // to resume. Waits at most about ten seconds.
    const bool checked = g_bStateDone && (m_flow->SeatPanel() || g_bGameRunning);
    if (!checked && ++m_choiceWaits < 500) {
        QTimer::singleShot(20, m_frame.get(), [this] { RunCommandLineChoices(); });
        return;
    }
    m_choiceWaits = 0;
    const int seat = m_options.seat;
    if (seat != 0) {
        // As the seat panel's "Free" and "Start" buttons do.
        CSeatPanel panel(m_adapter, nullptr);
        panel.ClickFree(seat, true);
        if (m_options.start) panel.ClickStart(seat, true);
    }
    // Through the AutoPartner menu, so that its items know their partners.
    for (int k : m_options.partners)
        m_autoPartner->Choose(k);
}

void CAppSession::OnFrameMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    if (msg != WM_CONN_NOTIFY) return;
    if (m_finished || !m_dispatcher) {
        if ((wParam >> 16) != NET_PLACESTATE) DeleteCString(reinterpret_cast<CString*>(lParam));
        return;
    }
    m_dispatcher->OnConnNotify(wParam, lParam);
    AfterMessage();
}

void CAppSession::OnViewMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    if (msg != WM_GAME_STEP || m_finished || !m_flow) return;
    m_flow->OnGameStep(static_cast<int>(wParam), lParam);
    AfterMessage();
}

void CAppSession::AfterMessage() {
    if (m_finished) return;
    if (g_bGameRunning) RememberSeating();
    if (m_options.exitAfterGame && g_nDeals > 0 && !g_bGameRunning &&
        (g_score[0] > 300 || g_score[1] > 300)) {
        m_finished = true;
        const std::string sheet = ScoreSheetText();
        std::fputs(sheet.c_str(), stdout);
        std::fflush(stdout);
        QApplication::exit(m_exitCode);
        return;
    }
    SaveIfScripted();
    if (m_options.autoplay && g_bSeated && g_bGameRunning && !g_bAutoPlay) m_flow->ToggleAutoPlay();
}

void CAppSession::Shutdown() {
    m_finished = true;
    {
        std::lock_guard<std::recursive_mutex> lock(CCommandDispatcher::CommandLock());
        g_pView = nullptr;
        DeleteGameObjects();
        if (m_conn) {
            m_conn->Done();
            m_adapter.SetConn(nullptr);
            g_pConn = nullptr;
            delete m_conn;
            m_conn = nullptr;
        }
        CSettingsStore store;
        WriteDeckSetting(store, g_nCardBack);
        WriteFacesSetting(store, m_faces.toStdString());
    }
    // The deck's renderer is a QObject: gone before the application is.
    CCardRenderer::SetFaceDeck(nullptr);
    // Notifications the library posted before it stopped and that the ended event
    // loop never delivered: handed over now, so that their payloads are freed.
    if (m_frame) QCoreApplication::sendPostedEvents(&m_frame->Sink(), CQtMessageSink::EventType());
    g_pMainFrame = nullptr;
    // The panels' windows let go of the panels before the game flow deletes them.
    if (m_frame) {
        m_frame->View().HideBiddingPanel();
        m_frame->View().HideSeatPanel();
    }
    m_dispatcher.reset();
    m_autoPartner.reset();
    m_flow.reset();
    m_bridge.reset();
    m_frame.reset();
}
