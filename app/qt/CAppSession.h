// The running program: the main window and the view, the connection, the game
// flow and the command dispatcher, set up in the start-up order and taken down
// again at exit. It also carries out what the command line asks for: the seat,
// the start, the computer partners, AutoPlay and leaving after one game.
#pragma once

#include <cstdint>
#include <memory>

#include "app/AppOptions.h"
#include "app/CConnAdapter.h"
#include "app/qt/CQtFlowPlatform.h"

class CCommandDispatcher;
class CConn;
class CFrameBridge;
class CGameFlow;
class CMainFrame;

class CAppSession {
public:
    explicit CAppSession(const AppOptions& options);
    ~CAppSession();
    CAppSession(const CAppSession&) = delete;
    CAppSession& operator=(const CAppSession&) = delete;

    // Creates the windows, connects and posts the first table check. False when
    // the connection was not made (the program ends).
    bool Start();
    // The program's exit code once the event loop has returned.
    int ExitCode() const { return m_exitCode; }

private:
    void OnFrameMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    void OnViewMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    // After every message: AutoPlay on once seated in a running game; the end of
    // the first game when the program is to leave then.
    void AfterMessage();
    void RunCommandLineChoices();
    void Shutdown();

    AppOptions m_options;
    CQtFlowPlatform m_platform;
    CConnAdapter m_adapter{nullptr};
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CGameFlow> m_flow;
    std::unique_ptr<CCommandDispatcher> m_dispatcher;
    std::unique_ptr<CFrameBridge> m_bridge;
    CConn* m_conn = nullptr;
    bool m_finished = false;
    int m_exitCode = 0;
};
