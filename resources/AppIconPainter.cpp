#include "resources/AppIconPainter.h"

#include "platform/cards/StrokeFont.h"
#include "platform/cards/SuitShapes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPen>

namespace {

void Card(QPainter& painter, double cx, double cy, double w, double h, double angle, int suit,
          double s, bool index) {
    painter.save();
    painter.translate(cx, cy);
    painter.rotate(angle);
    const QRectF card(-w / 2, -h / 2, w, h);
    painter.setPen(QPen(QColor(50, 50, 56), std::max(0.8, 0.7 * s)));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(card, w * 0.1, w * 0.1);
    const QColor ink = CSuitShapes::Ink(suit);
    CSuitShapes::Draw(painter, suit, QPointF(0, h * 0.06), w * 0.62, ink);
    if (index) {
        CStrokeFont::Draw(painter, card.left() + w * 0.09, card.top() + h * 0.06, h * 0.15, "A",
                          ink, 0.17);
    }
    painter.restore();
}

} // namespace

void CAppIconPainter::Paint(QPainter& painter, int size) {
    if (size <= 0) return;
    const double S = size;
    const double s = S / 32.0;
    painter.save();
    // The table: a rounded square of green felt.
    QLinearGradient felt(0, 0, 0, S);
    felt.setColorAt(0, QColor(40, 150, 70));
    felt.setColorAt(1, QColor(12, 92, 38));
    painter.setPen(size >= 32 ? QPen(QColor(8, 60, 24), 1.0 * s) : Qt::NoPen);
    painter.setBrush(felt);
    const double inset = size >= 32 ? 0.5 * s : 0.0;
    painter.drawRoundedRect(QRectF(inset, inset, S - 2 * inset, S - 2 * inset), S * 0.2, S * 0.2);
    if (size <= 24) {
        // One card with a spade, as large as the square allows.
        Card(painter, S * 0.5, S * 0.5, S * 0.62, S * 0.84, 0, 3, s, false);
    } else {
        Card(painter, S * 0.40, S * 0.52, S * 0.42, S * 0.58, -14, 2, s, size >= 48);
        Card(painter, S * 0.61, S * 0.49, S * 0.42, S * 0.58, 12, 3, s, size >= 48);
    }
    painter.restore();
}
