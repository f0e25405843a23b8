// The chat bar at the bottom of the main window: the line to send on top, the
// chat lines below it and the users at the table on the right. Its controls
// start at their template places and are laid out again on every resize: the
// user list keeps to the right edge, the chat controls take the rest of the
// width, and the lists grow by the height left over.
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

class QLineEdit;
class QListWidget;

class CChatBar : public QWidget {
public:
    static constexpr int kHeight = 84;

    explicit CChatBar(QWidget* parent = nullptr);

    QLineEdit* Edit() const { return m_edit; }
    QListWidget* ChatList() const { return m_chat; }
    QListWidget* UserList() const { return m_users; }

    // The layout of the three controls in a bar of `bar`'s size, from their
    // current rectangles.
    static void Layout(QSize bar, QRect& edit, QRect& chat, QRect& users);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_edit = nullptr;
    QListWidget* m_chat = nullptr;
    QListWidget* m_users = nullptr;
};
