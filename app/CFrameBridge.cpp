#include "app/CFrameBridge.h"

#include "app/CGameFlow.h"
#include "app/IFlowPlatform.h"
#include "app/IGameConn.h"

void CFrameBridge::AddChatLine(int from, const char* text) {
    m_flow.ShowChatLine(from, text ? text : "");
}

void CFrameBridge::Beep(int kind) {
    m_flow.Platform().Beep(kind);
}

void CFrameBridge::BroadcastCmd(short to, short cmd, const char* text, short from) {
    m_flow.Conn().BroadcastCmd(to, cmd, text ? text : "", from);
}
