// The main window: the table view on top, the chat bar (chat lines, the users
// at the table and the line to send) below it and the status bar. Fixed size,
// minimise only. Notifications of the connection arrive through its message
// sink (the window handle the connection is given).
#pragma once

#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

#include "app/IFrameUi.h"

class CQtMessageSink;
class CVeskView;
class QLabel;
class QLineEdit;
class QListWidget;

class CMainFrame : public QMainWindow, public IFrameUi {
public:
    static constexpr int kWidth = 548;
    static constexpr int kHeight = 608;

    CMainFrame();
    ~CMainFrame() override;

    CVeskView& View() { return *m_view; }
    // The window handle for the connection: WM_CONN_NOTIFY goes to the handler.
    CQtMessageSink& Sink() { return *m_sink; }
    // Called with the text when Enter is pressed on a non-empty chat line.
    void SetChatSender(std::function<void(const std::string&)> send) { m_send = std::move(send); }

    // IFrameUi
    void SetStatusText(const std::string& text) override;
    void AddChatListLine(const std::string& line) override;
    std::vector<std::string> ChatListLines() const override;
    void AddUserName(const std::string& name) override;
    void RemoveUserName(const std::string& name) override;

private:
    void SendChatLine();

    CVeskView* m_view = nullptr;
    CQtMessageSink* m_sink = nullptr;
    QListWidget* m_chat = nullptr;
    QListWidget* m_users = nullptr;
    QLineEdit* m_edit = nullptr;
    QLabel* m_status = nullptr;
    std::function<void(const std::string&)> m_send;
};
