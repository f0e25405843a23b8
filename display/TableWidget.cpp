#include "display/TableWidget.h"

#include "display/TablePicture.h"
#include "platform/Trace.h"
#include "rules/GameState.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

CTableWidget::CTableWidget(CTablePicture& picture, QWidget* parent)
    : QWidget(parent), m_picture(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Table"));
    setAccessibleDescription(
        QStringLiteral("Left and Right mark a card of your hand, Enter or Space plays it, S picks "
                       "it out for showing"));
    m_picture.SetInvalidateHook([this] { update(); });
}

CTableWidget::~CTableWidget() {
    m_picture.SetInvalidateHook({});
}

void CTableWidget::EnsurePicture() {
    if (!m_picture.HasSurface()) m_picture.Create(width(), height(), devicePixelRatioF());
}

std::vector<QRect> CTableWidget::BandsAround(const QRect& child, int width, int height) {
    const int left = child.x(), top = child.y(), cw = child.width(), ch = child.height();
    return {QRect(0, 0, width, top), QRect(0, top, left, ch),
            QRect(left + cw, top, width - left - cw, ch),
            QRect(0, top + ch, width, height - top - ch)};
}

void CTableWidget::paintEvent(QPaintEvent*) {
    EnsurePicture();
    if (!m_picture.HasSurface()) return;
    if (!m_painted) {
        m_painted = true;
        Trace("first-paint");
    }
    QPainter painter(this);
    const QImage& picture = m_picture.Picture();
    const ViewSize size = m_picture.ClientSize();
    QWidget* child = m_activeChild.data();
    // The picture goes to the screen pixel for pixel; only the bands around a
    // panel are let through.
    const bool bands = child && child->isVisible() && !g_bOverlay;
    if (bands) {
        QRegion shown;
        for (const QRect& band : BandsAround(child->geometry(), size.cx, size.cy))
            if (band.width() > 0 && band.height() > 0) shown += band;
        painter.setClipRegion(shown);
    }
    painter.drawImage(0, 0, picture);
    painter.setClipping(false);
    if (!g_bOverlay) PaintFocusMark(painter);
    if (bands && m_afterBands) m_afterBands();
}

void CTableWidget::PaintFocusMark(QPainter& painter) {
    QRect card;
    QRegion shown;
    if (!hasFocus() || !focusMark || !focusMark(card, shown) || shown.isEmpty()) return;
    const QColor mark(255, 214, 0);
    painter.save();
    painter.setClipRegion(shown);
    painter.fillRect(card, QColor(mark.red(), mark.green(), mark.blue(), 70));
    painter.setPen(QPen(mark, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(card).adjusted(1.5, 1.5, -1.5, -1.5));
    painter.restore();
}

bool CTableWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipAt ? toolTipAt(help->pos()) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void CTableWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && onLeftDown)
        onLeftDown(at);
    else if (event->button() == Qt::RightButton && onRightDown)
        onRightDown(at);
}

void CTableWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onLeftDoubleClick)
        onLeftDoubleClick(event->position().toPoint());
}

void CTableWidget::keyPressEvent(QKeyEvent* event) {
    if (onKey) onKey(event->key());
    QWidget::keyPressEvent(event);
}

void CTableWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // The panel over the table keeps the keyboard, unless the score sheet covers it.
    if (!g_bOverlay && m_activeChild && m_activeChild->isVisible()) m_activeChild->setFocus();
    if (onFocus) onFocus();
    update();
}

void CTableWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(); // the focus mark goes
}
