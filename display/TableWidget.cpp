#include "display/TableWidget.h"

#include "display/TablePicture.h"
#include "platform/Trace.h"
#include "rules/GameState.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

CTableWidget::CTableWidget(CTablePicture& picture, QWidget* parent)
    : QWidget(parent), m_picture(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    m_picture.SetInvalidateHook([this] { update(); });
}

CTableWidget::~CTableWidget() {
    m_picture.SetInvalidateHook({});
}

void CTableWidget::EnsurePicture() {
    if (!m_picture.HasSurface()) m_picture.Create(width(), height());
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
    QWidget* child = m_activeChild.data();
    if (child && child->isVisible() && !g_bOverlay) {
        for (const QRect& band : BandsAround(child->geometry(), picture.width(), picture.height()))
            if (band.width() > 0 && band.height() > 0) painter.drawImage(band, picture, band);
        if (m_afterBands) m_afterBands();
    } else {
        painter.drawImage(0, 0, picture);
    }
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
}
