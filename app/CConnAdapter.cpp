#include "app/CConnAdapter.h"

#include "net/Conn.h"
#include "net/NetCommands.h"

void CConnAdapter::BroadcastCmd(int16_t to, int16_t cmd, const char* text, int16_t from) {
    if (m_pConn) m_pConn->BroadcastCmd(to, cmd, text ? text : "", from);
}

void CConnAdapter::SetPlaceState(int16_t state, int16_t from) {
    if (m_pConn) m_pConn->SetPlaceState(state, from);
}

int16_t CConnAdapter::Synchro() {
    return m_pConn ? m_pConn->Synchro() : 0;
}

void CConnAdapter::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (!m_pTarget) return;
    // Counted before it is posted: the handler never sees more than were counted.
    if (message == WM_CONN_NOTIFY) ++m_posted;
    m_pTarget->PostMessage(message, wParam, lParam);
}
