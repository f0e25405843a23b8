#include "app/qt/CMainFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/qt/CVeskView.h"
#include "platform/qt/QtMessageSink.h"

CMainFrame::CMainFrame() {
    setWindowTitle("Vesk");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kWidth, kHeight);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    m_view = new CVeskView(central);
    column->addWidget(m_view, 1);

    // The chat bar: the chat lines and the line to send on the left, the users on the right.
    auto* bar = new QHBoxLayout();
    bar->setContentsMargins(2, 0, 2, 2);
    auto* left = new QVBoxLayout();
    m_chat = new QListWidget(central);
    m_chat->setFixedHeight(56);
    m_edit = new QLineEdit(central);
    left->addWidget(m_chat);
    left->addWidget(m_edit);
    m_users = new QListWidget(central);
    m_users->setFixedSize(120, 80);
    bar->addLayout(left, 1);
    bar->addWidget(m_users);
    column->addLayout(bar);
    setCentralWidget(central);

    m_status = new QLabel(this);
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);

    m_sink = new CQtMessageSink(nullptr, this);
    connect(m_edit, &QLineEdit::returnPressed, this, [this] { SendChatLine(); });
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::SendChatLine() {
    const std::string text = m_edit->text().toStdString();
    if (text.empty()) return;
    m_edit->clear();
    if (m_send) m_send(text);
}

void CMainFrame::SetStatusText(const std::string& text) {
    m_status->setText(QString::fromStdString(text));
}

void CMainFrame::AddChatListLine(const std::string& line) {
    m_chat->addItem(QString::fromStdString(line));
    m_chat->scrollToBottom();
}

std::vector<std::string> CMainFrame::ChatListLines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < m_chat->count(); ++i)
        lines.push_back(m_chat->item(i)->text().toStdString());
    return lines;
}

void CMainFrame::AddUserName(const std::string& name) {
    m_users->addItem(QString::fromStdString(name));
}

void CMainFrame::RemoveUserName(const std::string& name) {
    const QString wanted = QString::fromStdString(name);
    for (int i = 0; i < m_users->count(); ++i)
        if (m_users->item(i)->text() == wanted) {
            delete m_users->takeItem(i);
            return;
        }
}
