#include "app/CConnAdapter.h"

#include "net/Conn.h"

void CConnAdapter::BroadcastCmd(int16_t to, int16_t cmd, const char* text, int16_t from) {
    if (m_pConn) m_pConn->BroadcastCmd(to, cmd, text ? text : "", from);
}

void CConnAdapter::SetPlaceState(int16_t state, int16_t from) {
    if (m_pConn) m_pConn->SetPlaceState(state, from);
}

int16_t CConnAdapter::Synchro() {
    return m_pConn ? m_pConn->Synchro() : 0;
}
