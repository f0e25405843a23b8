#include "platform/cards/CourtFigure.h"

#include "platform/cards/SuitShapes.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <array>
#include <cmath>
#include <numbers>

namespace {

const QColor kOutline(40, 36, 48);
const QColor kGold(226, 178, 52);
const QColor kSkin(248, 218, 188);
const QColor kPaper(255, 248, 232);

QColor RobeColour(int suit) {
    static const std::array<QColor, 4> robes = {QColor(30, 107, 58), QColor(210, 105, 30),
                                                QColor(200, 16, 46), QColor(31, 58, 147)};
    return robes[static_cast<size_t>(suit & 3)];
}

QPen OutlinePen(double scale) {
    return QPen(kOutline, std::max(0.5, 0.7 * scale), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath Crown(double cx, double base, double halfWidth, double height, bool rounded) {
    QPainterPath p;
    p.moveTo(cx - halfWidth, base);
    p.lineTo(cx - halfWidth, base - height);
    p.lineTo(cx - halfWidth / 2, base - height * 0.55);
    p.lineTo(cx, base - height * (rounded ? 0.95 : 1.15));
    p.lineTo(cx + halfWidth / 2, base - height * 0.55);
    p.lineTo(cx + halfWidth, base - height);
    p.lineTo(cx + halfWidth, base);
    p.closeSubpath();
    return p;
}

} // namespace

void CCourtFigure::Paint(QPainter& painter, const QRectF& frame, int rankIndex, int suit,
                         double scale) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPaper);
    painter.drawRect(frame);
    const QRectF upper(frame.left(), frame.top(), frame.width(), frame.height() / 2);
    PaintHalf(painter, upper, rankIndex, suit, scale);
    // The lower half is the upper one turned round the card's centre.
    painter.translate(frame.center());
    painter.rotate(180);
    painter.translate(-frame.center());
    PaintHalf(painter, upper, rankIndex, suit, scale);
    painter.restore();

    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(RobeColour(suit).darker(130), std::max(0.6, 0.9 * scale)));
    painter.drawRect(frame);
    painter.setPen(QPen(kOutline, std::max(0.4, 0.5 * scale)));
    painter.drawLine(QPointF(frame.left(), frame.center().y()),
                     QPointF(frame.right(), frame.center().y()));
    painter.restore();
}

void CCourtFigure::PaintHalf(QPainter& painter, const QRectF& half, int rankIndex, int suit,
                             double scale) {
    const double W = half.width(), H = half.height();
    const double x0 = half.left(), y0 = half.top();
    const double cx = x0 + W * 0.52;
    auto Y = [&](double f) { return y0 + H * f; };
    auto X = [&](double f) { return x0 + W * f; };
    const QColor robe = RobeColour(suit);
    const QPen outline = OutlinePen(scale);

    painter.save();
    painter.setClipRect(half, Qt::IntersectClip);
    painter.setPen(outline);

    // What the figure holds, behind the robe.
    if (rankIndex == kQueen) {
        painter.setPen(QPen(QColor(46, 120, 52), std::max(0.6, 1.0 * scale)));
        painter.drawLine(QPointF(X(0.2), Y(1.0)), QPointF(X(0.16), Y(0.42)));
        painter.setPen(outline);
        painter.setBrush(QColor(214, 40, 80));
        for (int k = 0; k < 5; ++k) {
            const double a = 2 * std::numbers::pi * k / 5;
            painter.drawEllipse(
                QPointF(X(0.16) + std::cos(a) * W * 0.05, Y(0.4) + std::sin(a) * W * 0.05),
                W * 0.04, W * 0.04);
        }
        painter.setBrush(kGold);
        painter.drawEllipse(QPointF(X(0.16), Y(0.4)), W * 0.03, W * 0.03);
    } else {
        // The king's sceptre, the jack's halberd.
        const QColor shaft = rankIndex == kKing ? kGold : QColor(120, 78, 40);
        painter.setPen(QPen(kOutline, std::max(1.0, 1.7 * scale), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(X(0.86), Y(1.0)), QPointF(X(0.86), Y(0.3)));
        painter.setPen(QPen(shaft, std::max(0.6, 1.0 * scale), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(X(0.86), Y(1.0)), QPointF(X(0.86), Y(0.3)));
        painter.setPen(outline);
        if (rankIndex == kKing) {
            painter.setBrush(kGold);
            painter.drawEllipse(QPointF(X(0.86), Y(0.26)), W * 0.06, W * 0.06);
        } else {
            QPainterPath blade;
            blade.moveTo(X(0.86), Y(0.12));
            blade.lineTo(X(0.93), Y(0.3));
            blade.quadTo(X(0.86), Y(0.36), X(0.79), Y(0.3));
            blade.closeSubpath();
            painter.setBrush(QColor(200, 206, 216));
            painter.drawPath(blade);
        }
    }

    // The robe, with its gold front and collar.
    QPainterPath body;
    body.moveTo(cx - W * 0.42, Y(1.02));
    body.cubicTo(cx - W * 0.4, Y(0.72), cx - W * 0.28, Y(0.58), cx - W * 0.1, Y(0.56));
    body.lineTo(cx + W * 0.1, Y(0.56));
    body.cubicTo(cx + W * 0.28, Y(0.58), cx + W * 0.4, Y(0.72), cx + W * 0.42, Y(1.02));
    body.closeSubpath();
    painter.setBrush(robe);
    painter.drawPath(body);
    painter.setBrush(kGold);
    painter.drawRect(QRectF(cx - W * 0.06, Y(0.6), W * 0.12, H * 0.45));
    painter.setBrush(kOutline);
    painter.setPen(Qt::NoPen);
    for (double f : {0.72, 0.84, 0.96})
        painter.drawEllipse(QPointF(cx, Y(f)), W * 0.018, W * 0.018);
    painter.setPen(outline);

    // Hair behind the head.
    const double headY = Y(0.36), headRx = W * 0.12, headRy = H * 0.16;
    if (rankIndex == kQueen) {
        QPainterPath hair;
        hair.moveTo(cx - headRx * 1.35, Y(0.62));
        hair.cubicTo(cx - headRx * 1.7, headY - headRy, cx + headRx * 1.7, headY - headRy,
                     cx + headRx * 1.35, Y(0.62));
        hair.closeSubpath();
        painter.setBrush(QColor(176, 112, 40));
        painter.drawPath(hair);
    }
    painter.setBrush(kGold);
    painter.drawEllipse(QPointF(cx, Y(0.56)), W * 0.15, H * 0.045);

    // Head and face.
    painter.setBrush(kSkin);
    painter.drawEllipse(QPointF(cx, headY), headRx, headRy);
    if (rankIndex == kKing) {
        QPainterPath beard;
        beard.moveTo(cx - headRx * 0.98, headY + headRy * 0.05);
        beard.quadTo(cx - headRx * 0.9, headY + headRy * 1.6, cx, headY + headRy * 1.75);
        beard.quadTo(cx + headRx * 0.9, headY + headRy * 1.6, cx + headRx * 0.98,
                     headY + headRy * 0.05);
        beard.quadTo(cx, headY + headRy * 0.75, cx - headRx * 0.98, headY + headRy * 0.05);
        painter.setBrush(QColor(236, 236, 240));
        painter.drawPath(beard);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kOutline);
    const double eye = std::max(0.35, 0.6 * scale);
    painter.drawEllipse(QPointF(cx - headRx * 0.4, headY - headRy * 0.1), eye, eye);
    painter.drawEllipse(QPointF(cx + headRx * 0.4, headY - headRy * 0.1), eye, eye);
    if (rankIndex != kKing) {
        painter.setPen(
            QPen(QColor(180, 40, 50), std::max(0.4, 0.6 * scale), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(cx - headRx * 0.3, headY + headRy * 0.45),
                         QPointF(cx + headRx * 0.3, headY + headRy * 0.45));
    }
    painter.setPen(outline);

    // Headgear: the king's crown, the queen's tiara, the jack's cap with a feather.
    const double headTop = headY - headRy;
    if (rankIndex == kKing) {
        painter.setBrush(kGold);
        painter.drawPath(Crown(cx, headTop + headRy * 0.35, headRx * 1.05, H * 0.2, false));
        painter.setBrush(QColor(200, 16, 46));
        painter.drawEllipse(QPointF(cx, headTop + headRy * 0.05), W * 0.025, W * 0.025);
    } else if (rankIndex == kQueen) {
        painter.setBrush(kGold);
        painter.drawPath(Crown(cx, headTop + headRy * 0.3, headRx * 0.85, H * 0.13, true));
        painter.setBrush(QColor(90, 160, 220));
        for (double dx : {-0.6, 0.0, 0.6})
            painter.drawEllipse(QPointF(cx + headRx * dx, headTop - H * (dx == 0 ? 0.1 : 0.05)),
                                W * 0.022, W * 0.022);
    } else {
        QPainterPath cap;
        cap.moveTo(cx - headRx * 1.2, headTop + headRy * 0.45);
        cap.cubicTo(cx - headRx * 1.1, headTop - headRy * 0.7, cx + headRx * 1.6,
                    headTop - headRy * 0.8, cx + headRx * 1.8, headTop + headRy * 0.3);
        cap.closeSubpath();
        painter.setBrush(robe.darker(120));
        painter.drawPath(cap);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(
            QPen(QColor(250, 250, 250), std::max(0.6, 1.1 * scale), Qt::SolidLine, Qt::RoundCap));
        QPainterPath feather;
        feather.moveTo(cx + headRx * 0.5, headTop);
        feather.quadTo(cx + headRx * 1.2, headTop - headRy * 1.2, cx + headRx * 2.4,
                       headTop - headRy * 0.6);
        painter.drawPath(feather);
    }

    // The suit in the frame's corner.
    CSuitShapes::Draw(painter, suit, QPointF(X(0.15), Y(0.17)), 8.0 * scale,
                      CSuitShapes::Ink(suit));
    painter.restore();
}
