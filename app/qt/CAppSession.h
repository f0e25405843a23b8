// The running program: the main window and the view, the connection, the game
// flow and the command dispatcher, set up in the start-up order and taken down
// again at exit. It also carries out what the command line asks for: the seat,
// the start, the computer partners, AutoPlay and leaving after one game.
#pragma once

#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "app/AppOptions.h"
#include "app/CConnAdapter.h"
#include "app/qt/CQtFlowPlatform.h"

class CAutoPartnerMenu;
class QTimer;
class CCommandDispatcher;
class CConn;
class CFrameBridge;
class CGameFlow;
class CMainFrame;
class CRunningCopy;
class CReplaySnapshots;
class CRulesDialog;

class CAppSession {
public:
    explicit CAppSession(const AppOptions& options);
    ~CAppSession();
    CAppSession(const CAppSession&) = delete;
    CAppSession& operator=(const CAppSession&) = delete;

    // Creates the windows, connects and posts the first table check. False when
    // the connection was not made (the program ends).
    bool Start();
    // The program's exit code: 1 when start-up failed, or when something the
    // command line asked for failed (a scripted save); else 0.
    int ExitCode() const { return m_exitCode; }

    // ---- saved games and replay (the Game menu) ----
    // The save dialog, then SaveGameTo: 1 when a file was written, else 0.
    int SaveGame();
    // The open dialog, then LoadGameFrom.
    void LoadGame();
    // Writes the held record, or the running game, to `path`; beeps on failure
    // and, when asked, says why in `failure`.
    int SaveGameTo(const std::string& path, std::string* failure = nullptr);
    // Reads `path` as the held record; beeps and keeps the old one on failure.
    bool LoadGameFrom(const std::string& path);
    void Undo();
    void Redo();
    // A game is running or one is held.
    bool CanSave() const;
    // No game is running and exactly one named user is at the table.
    bool CanLoad() const;
    bool CanUndo() const;
    bool CanRedo() const;
    bool HasUnsavedRecord() const;

    // A table chosen on the command line is tried this often, this far apart,
    // before the program ends with status 1.
    static constexpr int kStartTries = 10;
    static constexpr int kStartPauseMs = 1000;

private:
    // Init on the connection, again after a pause while the command line's
    // table cannot be reached; false when the program is to end.
    bool Connect();
    void OnFrameMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    void OnViewMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    // After every message: AutoPlay on once seated in a running game; the end of
    // the first game when the program is to leave then.
    void AfterMessage();
    void RunCommandLineChoices();
    // The menu's commands, their enabled states and check marks, and the exit
    // guard's dealer query.
    void WireMenu();
    void ToggleScoreSheet();
    void ShowLastTrick();
    void ChooseDeck();
    // Draws the card faces from the deck in `file` (empty: the built-in faces);
    // a deck that is missing or broken gives the built-in faces.
    void UseFaces(const QString& file);
    // Every clock tick: the turn marker of the place to move blinks.
    void BlinkTurnMarker();
    void ShowAbout();
    // Help -> "Rules of Vesk" (F1): the handbook, beside the table.
    void ShowRules();
    void Shutdown();
    // Hooks the replay snapshots and the loss of the dealer into the game flow.
    void SetUpGames();
    // The scripted save of --save-after-cards, once its card has been played.
    void SaveIfScripted();
    // The connection to the dealer closed: connect again without a restart.
    void OnConnectionLost();
    void Reconnect();

    AppOptions m_options;
    CQtFlowPlatform m_platform;
    CConnAdapter m_adapter{nullptr};
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CGameFlow> m_flow;
    std::unique_ptr<CCommandDispatcher> m_dispatcher;
    std::unique_ptr<CFrameBridge> m_bridge;
    std::unique_ptr<CAutoPartnerMenu> m_autoPartner;
    std::unique_ptr<CRunningCopy> m_runningCopy;
    CConn* m_conn = nullptr;
    bool m_finished = false;
    int m_exitCode = 0;
    std::unique_ptr<CReplaySnapshots> m_snapshots;
    bool m_scriptedSaveDone = false;
    bool m_reconnecting = false;
    int m_reconnectTries = 0;
    int m_choiceWaits = 0;
    QTimer* m_askTimer = nullptr;
    // The chosen faces: a desktop deck's file, empty for the built-in ones.
    QString m_faces;
    QPointer<CRulesDialog> m_rules;
};
