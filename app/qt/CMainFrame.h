// The main window: the menu, the table view on top, the chat bar (the line to
// send, the chat lines and the users at the table) below it and the status bar
// with its clock. Fixed size, minimise only. Notifications of the connection
// arrive through its message sink (the window handle the connection is given).
// Closing it passes the exit guard.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "app/CExitGuard.h"
#include "app/IFrameUi.h"

class CChatBar;
class CMainMenu;
class CQtMessageSink;
class CStatusPanes;
class CVeskView;

class CMainFrame : public QMainWindow, public IFrameUi, public IExitQuestions {
public:
    static constexpr int kWidth = 548;
    static constexpr int kHeight = 608;
    // Chat lines the chat list keeps; older ones are dropped.
    static constexpr int kMaxChatLines = 500;
    // New chat lines are shown together at most this often (milliseconds): the
    // list's layout measures every line, and a line at a time would let a
    // flood of chat take the program's whole time.
    static constexpr int kChatShowMs = 100;

    CMainFrame();
    ~CMainFrame() override;

    CVeskView& View() { return *m_view; }
    CMainMenu& Menu() { return *m_menu; }
    CStatusPanes& StatusPanes() { return *m_panes; }
    CChatBar& ChatBar() { return *m_chatBar; }
    // The window handle for the connection: WM_CONN_NOTIFY goes to the handler.
    CQtMessageSink& Sink() { return *m_sink; }
    // Called with the text when Enter is pressed on a non-empty chat line.
    void SetChatSender(std::function<void(const std::string&)> send) { m_send = std::move(send); }

    // The exit guard's slots: the save command (0 = not saved), whether the
    // window holds an unsaved game and whether this program is the dealer.
    // An empty slot saves nothing or answers false.
    void SetSaveSlot(std::function<int()> save) { m_save = std::move(save); }
    void SetUnsavedRecordSlot(std::function<bool()> query) { m_unsaved = std::move(query); }
    void SetDealerSlot(std::function<bool()> query) { m_dealer = std::move(query); }

    // Brings the window, or the dialog open over it, to the front; restores it
    // first when it is minimised.
    void BringToFront();

    // IFrameUi
    void SetStatusText(const std::string& text) override;
    void AddChatListLine(const std::string& line) override;
    std::vector<std::string> ChatListLines() const override;
    void AddUserName(const std::string& name) override;
    void RemoveUserName(const std::string& name) override;

    // IExitQuestions, as message boxes.
    Answer AskQuit() override;
    Answer AskSave() override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SendChatLine();
    // Moves the waiting chat lines into the list and shows the last one.
    void ShowWaitingChatLines();

    CVeskView* m_view = nullptr;
    CChatBar* m_chatBar = nullptr;
    CStatusPanes* m_panes = nullptr;
    CMainMenu* m_menu = nullptr;
    CQtMessageSink* m_sink = nullptr;
    std::function<void(const std::string&)> m_send;
    std::function<int()> m_save;
    std::function<bool()> m_unsaved;
    std::function<bool()> m_dealer;
    QStringList m_waitingChat; // chat lines not yet in the list (at most kMaxChatLines)
    QTimer m_chatTimer;
};
