#include "resources/IconPainter.h"

#include "platform/cards/StrokeFont.h"
#include "platform/cards/SuitShapes.h"
#include "resources/ResourceIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <numbers>

using namespace resid;

namespace {

const QColor kNoTrumpInk(31, 58, 147);
const QColor kHighlight(49, 106, 197);
const QColor kDisabled(150, 150, 150);
const QColor kMarkRed(204, 24, 30);

QColor ItemInk(int item) {
    return item < 4 ? CSuitShapes::Ink(item) : kNoTrumpInk;
}

void Cross(QPainter& painter, QPointF centre, double half, const QColor& colour, double width) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    painter.drawLine(centre + QPointF(half, -half), centre + QPointF(-half, half));
}

QPainterPath StarPath(QPointF c, double outer, double inner, int points) {
    QPainterPath star;
    for (int k = 0; k < 2 * points; ++k) {
        const double a = std::numbers::pi * k / points - std::numbers::pi / 2;
        const double r = k % 2 ? inner : outer;
        const QPointF p(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (k == 0)
            star.moveTo(p);
        else
            star.lineTo(p);
    }
    star.closeSubpath();
    return star;
}

} // namespace

void CIconPainter::NoTrump(QPainter& painter, const QRectF& box, const QColor& colour,
                           double weight) {
    const QString text = QStringLiteral("NT");
    const double width = CStrokeFont::TextWidth(text);
    // Leave room for the stroke on every side.
    const double height = std::min(box.height() / (1 + weight),
                                   box.width() / (width / CStrokeFont::kCapHeight + weight));
    CStrokeFont::DrawCentred(painter, box.center().x(), box.center().y() - height / 2, height, text,
                             colour, weight);
}

void CIconPainter::SuitItem(QPainter& painter, int item, ItemState state) {
    const QRectF cell(0, 0, 20, 20);
    const QPointF centre = cell.center();
    if (state == ItemState::Selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kHighlight);
        painter.drawRoundedRect(cell.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
        if (item < 4)
            CSuitShapes::DrawOutlined(painter, item, centre, 14.5, ItemInk(item), Qt::white, 1.1);
        else
            NoTrump(painter, cell.adjusted(3, 5, -3, -5), Qt::white);
        return;
    }
    if (state == ItemState::Disabled) {
        // Etched: a white copy one pixel down and right under the grey sign.
        const QPointF offset(1, 1);
        if (item < 4) {
            CSuitShapes::Draw(painter, item, centre + offset, 15, Qt::white);
            CSuitShapes::Draw(painter, item, centre, 15, kDisabled);
        } else {
            NoTrump(painter, cell.adjusted(3, 5, -3, -5).translated(offset), Qt::white);
            NoTrump(painter, cell.adjusted(3, 5, -3, -5), kDisabled);
        }
        return;
    }
    if (item < 4)
        CSuitShapes::Draw(painter, item, centre, 16, ItemInk(item));
    else
        NoTrump(painter, cell.adjusted(2.5, 5, -2.5, -5), ItemInk(item));
}

void CIconPainter::TurnMarker(QPainter& painter, bool computer, bool brightPhase) {
    // A round token: gold with a star for a person, blue with a chip for the computer;
    // the second blink phase is the same token dimmed.
    const QPointF c(16, 16);
    QColor ring = computer ? QColor(30, 110, 200) : QColor(230, 160, 20);
    QColor face = computer ? QColor(110, 200, 255) : QColor(255, 222, 80);
    QColor sign = computer ? QColor(12, 40, 90) : QColor(170, 40, 20);
    if (!brightPhase) {
        ring = ring.darker(160);
        face = face.darker(170);
        sign = sign.darker(130);
    }
    painter.setPen(QPen(QColor(20, 20, 20, 200), 1.2));
    painter.setBrush(ring);
    painter.drawEllipse(c, 13.5, 13.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawEllipse(c, 10.5, 10.5);
    painter.setBrush(sign);
    if (!computer) {
        painter.drawPath(StarPath(c, 8.5, 3.6, 5));
        return;
    }
    // A chip: a square with three pins on each side.
    const QRectF chip(c.x() - 5, c.y() - 5, 10, 10);
    painter.drawRoundedRect(chip, 1.2, 1.2);
    painter.setPen(QPen(sign, 1.4, Qt::SolidLine, Qt::FlatCap));
    for (double t : {-3.0, 0.0, 3.0}) {
        painter.drawLine(QPointF(c.x() + t, chip.top()), QPointF(c.x() + t, chip.top() - 2.5));
        painter.drawLine(QPointF(c.x() + t, chip.bottom()),
                         QPointF(c.x() + t, chip.bottom() + 2.5));
        painter.drawLine(QPointF(chip.left(), c.y() + t), QPointF(chip.left() - 2.5, c.y() + t));
        painter.drawLine(QPointF(chip.right(), c.y() + t), QPointF(chip.right() + 2.5, c.y() + t));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawEllipse(QPointF(c.x() - 2.2, c.y() - 2.2), 1.2, 1.2);
}

void CIconPainter::SheetSuit(QPainter& painter, int item) {
    const QRectF box(0, 0, 11, 11);
    if (item < 4)
        CSuitShapes::Draw(painter, item, box.center(), 10.5, ItemInk(item));
    else
        NoTrump(painter, box.adjusted(0, 2, 0, -2), ItemInk(item), 0.22);
}

void CIconPainter::SheetDoubleMark(QPainter& painter, bool redouble) {
    Cross(painter, QPointF(13.5, redouble ? 8.5 : 2.5), 1.9, kMarkRed, 1.5);
}

void CIconPainter::KingQueenMarker(QPainter& painter) {
    // A gold crown over the top of the card, outlined to stand out on white.
    QPainterPath crown;
    crown.moveTo(5, 22);
    crown.lineTo(3.5, 8);
    crown.lineTo(10.5, 14.5);
    crown.lineTo(16, 4);
    crown.lineTo(21.5, 14.5);
    crown.lineTo(28.5, 8);
    crown.lineTo(27, 22);
    crown.closeSubpath();
    painter.setPen(QPen(QColor(90, 60, 10), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(246, 196, 46));
    painter.drawPath(crown);
    painter.drawRoundedRect(QRectF(5, 21.5, 22, 5), 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 16, 46));
    painter.drawEllipse(QPointF(16, 24), 1.8, 1.8);
    painter.setBrush(QColor(40, 110, 200));
    painter.drawEllipse(QPointF(10, 24), 1.3, 1.3);
    painter.drawEllipse(QPointF(22, 24), 1.3, 1.3);
    painter.setBrush(QColor(255, 244, 200));
    for (const QPointF p : {QPointF(3.5, 8), QPointF(16, 4), QPointF(28.5, 8)})
        painter.drawEllipse(p, 1.9, 1.9);
}

QImage CIconPainter::CallImages(double scale) {
    QImage image(static_cast<int>(std::lround(kCallImageWidth * kCallImageCount * scale)),
                 static_cast<int>(std::lround(16 * scale)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    for (int i = 0; i < kCallImageCount; ++i) {
        const QRectF cell(i * kCallImageWidth, 0, kCallImageWidth, 16);
        const QPointF c = cell.center();
        switch (i) {
        case 0:
        case 1:
        case 2:
        case 3:
            CSuitShapes::Draw(painter, i, c, 12.5, CSuitShapes::Ink(i));
            break;
        case 4:
            NoTrump(painter, cell.adjusted(2, 4, -2, -4), kNoTrumpInk);
            break;
        case 5:
            Cross(painter, c, 4, kMarkRed, 2.2);
            break;
        case 6:
            Cross(painter, c + QPointF(-3.5, 0), 2.8, kMarkRed, 1.7);
            Cross(painter, c + QPointF(3.5, 0), 2.8, kMarkRed, 1.7);
            break;
        case 7:
            painter.setPen(QPen(QColor(110, 120, 110), 2.4, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(c + QPointF(-5, 0), c + QPointF(5, 0));
            break;
        default:
            break; // an automatic pass or a filler row shows no image
        }
    }
    return image;
}
