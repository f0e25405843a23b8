#include "app/CCommandDispatcher.h"

#include <cstring>
#include <memory>

#include "ai/GameCommands.h"
#include "app/CGameFlow.h"
#include "app/IFlowPlatform.h"
#include "app/NetCommands.h"
#include "net/UsersList.h"
#include "rules/GameState.h"
#include "rules/TableView.h"

std::recursive_mutex& CCommandDispatcher::CommandLock() {
    static std::recursive_mutex lock;
    return lock;
}

namespace {

void ReleaseBusy() {
    int16_t busy = isBusy.load();
    while (busy > 0 && !isBusy.compare_exchange_weak(busy, static_cast<int16_t>(busy - 1))) {
    }
}

} // namespace

CCommandDispatcher::~CCommandDispatcher() {
    for (const auto& [wParam, lParam] : m_deferred)
        if (((wParam >> 16) & 0xFFFF) != NET_PLACESTATE)
            DeleteCString(reinterpret_cast<CString*>(lParam));
}

intptr_t CCommandDispatcher::OnConnNotify(uintptr_t wParam, intptr_t lParam) {
    // A handler may dispatch messages before it is done (a trick being gathered
    // is drawn frame by frame). A question for the running game met there waits
    // until the command being applied is whole, so that the answer never shows it
    // half done (the last card of a deal on the table, the deal not yet scored);
    // whatever arrives after the question waits behind it.
    const int command = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
    if (m_nDepth > 0 && (command == CMD_STATE_REQUEST || !m_deferred.empty()) &&
        m_deferred.size() < kMaxDeferred) {
        m_deferred.emplace_back(wParam, lParam);
        return 0;
    }
    ++m_nDepth;
    Process(wParam, lParam);
    --m_nDepth;
    while (m_nDepth == 0 && !m_deferred.empty()) {
        const auto [w, l] = m_deferred.front();
        m_deferred.pop_front();
        ++m_nDepth;
        Process(w, l);
        --m_nDepth;
    }
    return 0;
}

void CCommandDispatcher::Process(uintptr_t wParam, intptr_t lParam) {
    ++m_nHandled;
    const int command = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
    const int from = static_cast<int>(wParam & 0xFFFF);
    // The payload string is ours whatever happens to the command.
    std::unique_ptr<CString> payload(
        command == NET_PLACESTATE ? nullptr : reinterpret_cast<CString*>(lParam));
    if (!g_pMainFrame || !g_pView) {
        DeleteCString(payload.release());
        isBusy = 0;
        return;
    }
    if (g_bOverlay) m_flow.Platform().Beep(kBeepDefault);

    std::lock_guard<std::recursive_mutex> lock(CommandLock());
    m_flow.EnterHandler();
    uint8_t buffer[kPayloadBuffer];
    size_t length = 0;
    bool drop = false;
    if (command != NET_PLACESTATE) {
        if (payload) {
            // The text ends at its first NUL; a text that does not fit the buffer is
            // never copied in part.
            const size_t n = strnlen(payload->c_str(), payload->size());
            if (n >= kPayloadBuffer) {
                drop = true;
                ++m_nOversized;
            } else {
                std::memcpy(buffer, payload->data(), n);
                length = n;
            }
        }
        DeleteCString(payload.release());
    }
    buffer[length] = 0;
    if (drop) {
        // A state reply that cannot be read still ends the asking.
        if (command == CMD_STATE_REPLY && g_pMainFrame && g_pView) OnStateReply(from, buffer, 0);
    } else if (g_pMainFrame && g_pView && command >= 1 && command <= kLastCommand) {
        Handle(command, from, buffer, length, lParam);
    }
    if (CountsAsBusy(static_cast<uint16_t>(command))) ReleaseBusy();
    m_flow.LeaveHandler();
    if (m_bReplayDue) {
        m_bReplayDue = false;
        ReplayHeldCommands();
    }
}

void CCommandDispatcher::Handle(int command, int from, const uint8_t* text, size_t length,
                                intptr_t value) {
    if (!HoldWhileAsking(command, from, text, length)) Apply(command, from, text, length, value);
}

void CCommandDispatcher::Apply(int command, int from, const uint8_t* text, size_t length,
                               intptr_t value) {
    switch (command) {
    case CMD_CHAT:
        OnChat(from, text);
        break;
    case CMD_DEAL_PACKET:
        OnDealPacket(text, length);
        break;
    case CMD_NEW_DEAL:
        OnNewDeal(from);
        break;
    case NET_ATTACH:
        OnAttach(text);
        break;
    case NET_DETACH:
        OnDetach(from, text);
        break;
    case NET_PLACESTATE:
        ApplyPlaceState(from, static_cast<uint16_t>(value & 0xFFFF));
        break;
    case CMD_BID:
        OnBid(from, text, length);
        break;
    case CMD_BID_FINISH:
        OnBidFinish(from, text);
        break;
    case CMD_PLAY_CARD:
        OnPlayCard(from, text);
        break;
    case CMD_SHOW_CARDS:
        OnShowCards(from, text, length);
        break;
    case CMD_SHOW_DONE:
        OnShowDone(from);
        break;
    case CMD_STATE_REQUEST:
        OnStateRequest(from);
        break;
    case CMD_STATE_REPLY:
        OnStateReply(from, const_cast<uint8_t*>(text), length);
        break;
    case CMD_DECLARE:
        OnDeclare(from);
        break;
    case CMD_AUTOPLAY:
        OnAutoPlay(from, text);
        break;
    case NET_ADDAUTO:
        OnAddAuto(from, text);
        break;
    case NET_DELAUTO:
        OnDelAuto(text);
        break;
    default: // NET_LOGIN, NET_SYNCREPLY and unused codes
        break;
    }
}
