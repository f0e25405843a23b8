#include "app/qt/CSeatButton.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

CSeatButton::CSeatButton(QWidget* parent) : QPushButton(parent) {
    setCheckable(true);
    setAutoDefault(false);
}

void CSeatButton::SetFullText(const QString& text) {
    if (text == m_full && !QPushButton::text().isEmpty()) return;
    m_full = text;
    Fit();
}

void CSeatButton::Fit() {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this) +
                       2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    const int room = std::max(width() - margin, 1);
    const QString shown = fontMetrics().elidedText(m_full, Qt::ElideRight, room);
    setText(shown);
    setToolTip(shown == m_full ? QString() : m_full);
}

void CSeatButton::resizeEvent(QResizeEvent* event) {
    QPushButton::resizeEvent(event);
    Fit();
}

void CSeatButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) Fit();
}

void CSeatButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!isChecked() || isEnabled()) return;
    // Disabled, most styles draw a checked button like a released one: mark it
    // with the selection colour, a tint and a frame, so "started" shows.
    QPainter painter(this);
    QColor mark = palette().color(QPalette::Active, QPalette::Highlight);
    painter.setPen(QPen(mark, 2));
    mark.setAlpha(60);
    painter.setBrush(mark);
    painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 3, 3);
    // The holder's name stays readable: written again in the normal text colour.
    painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter, text());
}
