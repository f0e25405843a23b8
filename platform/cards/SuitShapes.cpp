#include "platform/cards/SuitShapes.h"

#include <QPainter>
#include <QPen>
#include <array>

namespace {

QPainterPath HeartPath() {
    QPainterPath p;
    p.moveTo(0, 0.48);
    p.cubicTo(-0.08, 0.34, -0.5, 0.1, -0.5, -0.2);
    p.cubicTo(-0.5, -0.4, -0.37, -0.5, -0.24, -0.5);
    p.cubicTo(-0.11, -0.5, -0.02, -0.41, 0, -0.3);
    p.cubicTo(0.02, -0.41, 0.11, -0.5, 0.24, -0.5);
    p.cubicTo(0.37, -0.5, 0.5, -0.4, 0.5, -0.2);
    p.cubicTo(0.5, 0.1, 0.08, 0.34, 0, 0.48);
    p.closeSubpath();
    return p;
}

QPainterPath DiamondPath() {
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.quadTo(0.15, -0.2, 0.39, 0);
    p.quadTo(0.15, 0.2, 0, 0.5);
    p.quadTo(-0.15, 0.2, -0.39, 0);
    p.quadTo(-0.15, -0.2, 0, -0.5);
    p.closeSubpath();
    return p;
}

QPainterPath SpadePath() {
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.cubicTo(0.08, -0.36, 0.5, -0.14, 0.5, 0.1);
    p.cubicTo(0.5, 0.28, 0.38, 0.36, 0.25, 0.36);
    p.cubicTo(0.15, 0.36, 0.07, 0.31, 0.03, 0.24);
    p.quadTo(0.05, 0.42, 0.2, 0.5);
    p.lineTo(-0.2, 0.5);
    p.quadTo(-0.05, 0.42, -0.03, 0.24);
    p.cubicTo(-0.07, 0.31, -0.15, 0.36, -0.25, 0.36);
    p.cubicTo(-0.38, 0.36, -0.5, 0.28, -0.5, 0.1);
    p.cubicTo(-0.5, -0.14, -0.08, -0.36, 0, -0.5);
    p.closeSubpath();
    return p;
}

QPainterPath ClubPath() {
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    const double r = 0.225;
    p.addEllipse(QPointF(0, -0.265), r, r);
    p.addEllipse(QPointF(-0.265, 0.085), r, r);
    p.addEllipse(QPointF(0.265, 0.085), r, r);
    p.addEllipse(QPointF(0, -0.02), 0.13, 0.13);
    // The stem runs the same way round as the circles, so the winding rule fills the union.
    p.moveTo(0.045, 0.0);
    p.quadTo(0.06, 0.42, 0.2, 0.5);
    p.lineTo(-0.2, 0.5);
    p.quadTo(-0.06, 0.42, -0.045, 0.0);
    p.closeSubpath();
    return p;
}

} // namespace

QPainterPath CSuitShapes::Path(int suit) {
    static const std::array<QPainterPath, 4> paths = {ClubPath(), DiamondPath(), HeartPath(),
                                                      SpadePath()};
    if (suit < 0 || suit >= kSuits) return {};
    return paths[static_cast<size_t>(suit)];
}

QColor CSuitShapes::Ink(int suit) {
    return IsRed(suit) ? QColor(200, 16, 46) : QColor(26, 26, 30);
}

void CSuitShapes::Draw(QPainter& painter, int suit, QPointF centre, double size,
                       const QColor& colour, bool flipped) {
    if (suit < 0 || suit >= kSuits || size <= 0) return;
    painter.save();
    painter.translate(centre);
    painter.scale(size, flipped ? -size : size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(Path(suit));
    painter.restore();
}

void CSuitShapes::DrawOutlined(QPainter& painter, int suit, QPointF centre, double size,
                               const QColor& colour, const QColor& outlineColour, double outline) {
    if (suit < 0 || suit >= kSuits || size <= 0) return;
    painter.save();
    painter.translate(centre);
    painter.scale(size, size);
    QPen pen(outlineColour, 2 * outline / size, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(outlineColour);
    painter.drawPath(Path(suit));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(Path(suit));
    painter.restore();
}
