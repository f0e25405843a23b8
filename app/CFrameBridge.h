// The main frame as the rules see it (IMainFrame): chat lines, beeps and
// commands, forwarded to the game flow, the platform and the connection.
#pragma once

#include "rules/TableView.h"

class CGameFlow;

class CFrameBridge : public IMainFrame {
public:
    explicit CFrameBridge(CGameFlow& flow) : m_flow(flow) {}
    void AddChatLine(int from, const char* text) override;
    void Beep(int kind) override;
    void BroadcastCmd(short to, short cmd, const char* text, short from) override;

private:
    CGameFlow& m_flow;
};
