// The view window of the table: it shows the retained table picture and hands
// the mouse and keyboard on to the game flow through callbacks. It draws
// nothing itself. While a panel (the active child) lies over the table only
// the bands around it are copied, so the panel is never painted over.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class CTablePicture;

class CTableWidget : public QWidget {
public:
    // The picture must outlive the widget.
    explicit CTableWidget(CTablePicture& picture, QWidget* parent = nullptr);
    ~CTableWidget() override;

    CTablePicture& Picture() { return m_picture; }

    // The panel that lies over the table, or null.
    void SetActiveChild(QWidget* child) { m_activeChild = child; }
    QWidget* ActiveChild() const { return m_activeChild; }
    // Called after the bands were painted (the "Show" button's update).
    void SetAfterBandsHook(std::function<void()> hook) { m_afterBands = std::move(hook); }

    // Makes the table picture at the widget's size when it does not exist yet
    // (done by the first paint as well).
    void EnsurePicture();

    // Input callbacks, each with the point in view pixels.
    std::function<void(QPoint)> onLeftDown;
    std::function<void(QPoint)> onLeftDoubleClick;
    std::function<void(QPoint)> onRightDown;
    // A key was pressed (a character or any other key).
    std::function<void(int key)> onKey;
    // The view got the keyboard focus.
    std::function<void()> onFocus;
    // The card under the keyboard's focus mark: its rectangle and the part of it
    // that shows; false when no card is marked. The mark is drawn over the
    // picture while the view has the keyboard focus.
    std::function<bool(QRect& card, QRegion& shown)> focusMark;
    // The tooltip for a point (a name shown shortened on the table), or empty.
    std::function<QString(QPoint)> toolTipAt;

    // The four bands of a width x height client around the child rectangle:
    // above it, left of it, right of it and below it, in that order.
    static std::vector<QRect> BandsAround(const QRect& child, int width, int height);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void PaintFocusMark(QPainter& painter);

    CTablePicture& m_picture;
    QPointer<QWidget> m_activeChild;
    bool m_painted = false;
    std::function<void()> m_afterBands;
};
