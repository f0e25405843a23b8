#include "app/qt/CChatBar.h"

#include <QLineEdit>
#include <QListWidget>

namespace {
// The template's places, in pixels, for a bar of 400 x kHeight.
constexpr QRect kEditPlace(2, 2, 268, 22);
constexpr QRect kChatPlace(2, 26, 268, 54);
constexpr QRect kUsersPlace(274, 2, 124, 78);
} // namespace

CChatBar::CChatBar(QWidget* parent) : QWidget(parent) {
    m_edit = new QLineEdit(this);
    m_edit->setGeometry(kEditPlace);
    m_chat = new QListWidget(this);
    m_chat->setGeometry(kChatPlace);
    m_users = new QListWidget(this);
    m_users->setGeometry(kUsersPlace);
    setFixedHeight(kHeight);
}

void CChatBar::Layout(QSize bar, QRect& edit, QRect& chat, QRect& users) {
    // Right and bottom edges as one past the last pixel.
    const int dx = bar.width() - (users.x() + users.width());
    const int dy = bar.height() - (users.y() + users.height());
    edit.setWidth(edit.width() + dx);
    chat.setWidth(chat.width() + dx);
    chat.setHeight(chat.height() + dy - 1);
    users.setHeight(users.height() + dy - 1);
    users.moveLeft(users.x() + dx);
}

void CChatBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    QRect edit = m_edit->geometry();
    QRect chat = m_chat->geometry();
    QRect users = m_users->geometry();
    Layout(size(), edit, chat, users);
    m_edit->setGeometry(edit);
    m_chat->setGeometry(chat);
    m_users->setGeometry(users);
}
