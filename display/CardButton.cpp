#include "display/CardButton.h"

#include <QMouseEvent>
#include <QPainter>

CCardButton::CCardButton(int id, QWidget* parent) : QPushButton(parent), m_id(id) {
    setObjectName(QStringLiteral("card%1").arg(id));
}

void CCardButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (onPaint) onPaint(*this, painter);
}

void CCardButton::mouseDoubleClickEvent(QMouseEvent* event) {
    QPushButton::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && onDoubleClick) onDoubleClick(*this);
}
