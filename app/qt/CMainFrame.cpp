#include "app/qt/CMainFrame.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include "app/qt/CChatBar.h"
#include "app/qt/CMainMenu.h"
#include "app/qt/CStatusPanes.h"
#include "app/qt/CVeskView.h"
#include "display/TableWidget.h"
#include "platform/qt/QtMessageSink.h"
#include "platform/qt/Translations.h"
#include "rules/GameState.h"

CMainFrame::CMainFrame() {
    setWindowTitle("Vesk");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kWidth, kHeight);

    m_menu = new CMainMenu(*this);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    m_view = new CVeskView(central);
    column->addWidget(m_view, 1);
    m_chatBar = new CChatBar(central);
    column->addWidget(m_chatBar);
    setCentralWidget(central);

    m_panes = new CStatusPanes(*statusBar());
    // Back from a menu: no turn signal is running and the table is shown again.
    m_panes->onGameMode = [this] {
        g_nMarkerPlace = -1;
        m_view->Table().update();
    };
    m_menu->onMenuOpen = [this] { m_panes->SetMode(CStatusPanes::kMenuMode); };
    m_menu->onMenuClosed = [this] { m_panes->SetMode(CStatusPanes::kGameMode); };

    m_sink = new CQtMessageSink(nullptr, this);
    connect(m_chatBar->Edit(), &QLineEdit::returnPressed, this, [this] { SendChatLine(); });
    m_chatTimer.setSingleShot(true);
    m_chatTimer.setInterval(kChatShowMs);
    connect(&m_chatTimer, &QTimer::timeout, this, [this] { ShowWaitingChatLines(); });
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::event(QEvent* event) {
    // Menu prompts go to the prompt pane, never over the game's panes.
    if (event->type() == QEvent::StatusTip) {
        m_panes->SetPrompt(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    CExitGuard guard(*this);
    guard.SetSave(m_save);
    const ExitSituation situation =
        CExitGuard::Current(m_dealer && m_dealer(), m_unsaved && m_unsaved());
    if (guard.MayClose(situation))
        event->accept();
    else
        event->ignore();
}

IExitQuestions::Answer CMainFrame::AskQuit() {
    const auto button = QMessageBox::question(this, windowTitle(), TranslatedText(kQuitQuestion),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return button == QMessageBox::Yes ? kYes : kNo;
}

IExitQuestions::Answer CMainFrame::AskSave() {
    const auto button =
        QMessageBox::question(this, windowTitle(), TranslatedText(kSaveQuestion),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (button == QMessageBox::Yes) return kYes;
    return button == QMessageBox::No ? kNo : kCancel;
}

void CMainFrame::BringToFront() {
    if (isMinimized()) showNormal();
    // Without a screen there is no front to come to.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    raise();
    activateWindow();
    // The dialog open over the window, if any, comes before it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void CMainFrame::SendChatLine() {
    QLineEdit* edit = m_chatBar->Edit();
    const std::string text = edit->text().toStdString();
    if (text.empty()) return;
    edit->clear();
    if (m_send) m_send(text);
}

void CMainFrame::SetStatusText(const std::string& text) {
    m_panes->SetText(text);
}

void CMainFrame::AddChatListLine(const std::string& line) {
    m_waitingChat.append(QString::fromStdString(line));
    if (m_waitingChat.size() > kMaxChatLines) m_waitingChat.removeFirst();
    if (!m_chatTimer.isActive()) m_chatTimer.start();
}

void CMainFrame::ShowWaitingChatLines() {
    if (m_waitingChat.isEmpty()) return;
    QListWidget* chat = m_chatBar->ChatList();
    chat->addItems(m_waitingChat);
    m_waitingChat.clear();
    // The oldest lines go once the list is full, however long the table chats.
    while (chat->count() > kMaxChatLines)
        delete chat->takeItem(0);
    chat->scrollToBottom();
}

std::vector<std::string> CMainFrame::ChatListLines() const {
    std::vector<std::string> lines;
    const QListWidget* chat = m_chatBar->ChatList();
    const int shown =
        std::max(0, chat->count() + static_cast<int>(m_waitingChat.size()) - kMaxChatLines);
    for (int i = shown; i < chat->count(); ++i)
        lines.push_back(chat->item(i)->text().toStdString());
    for (const QString& line : m_waitingChat)
        lines.push_back(line.toStdString());
    return lines;
}

void CMainFrame::AddUserName(const std::string& name) {
    m_chatBar->UserList()->addItem(QString::fromStdString(name));
}

void CMainFrame::RemoveUserName(const std::string& name) {
    QListWidget* users = m_chatBar->UserList();
    const QString wanted = QString::fromStdString(name);
    for (int i = 0; i < users->count(); ++i)
        if (users->item(i)->text() == wanted) {
            delete users->takeItem(i);
            return;
        }
}
