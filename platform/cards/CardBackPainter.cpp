#include "platform/cards/CardBackPainter.h"

#include "platform/cards/SuitShapes.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <cmath>
#include <numbers>

namespace {

// Every pattern is laid out in units of a tenth of the patterned area's width,
// so a back looks the same at any card size.
struct Area {
    QRectF rect;
    double u;
};

QPen Line(const QColor& colour, double width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Lattice(QPainter& p, const Area& a, const QColor& ground, const QColor& ink, bool diamonds) {
    p.fillRect(a.rect, ground);
    const double step = a.u * 1.1;
    const double span = a.rect.width() + a.rect.height();
    p.setPen(Line(ink, a.u * 0.1));
    for (double d = -span; d <= span; d += step) {
        p.drawLine(QPointF(a.rect.left() + d, a.rect.top()),
                   QPointF(a.rect.left() + d + span, a.rect.top() + span));
        p.drawLine(QPointF(a.rect.right() - d, a.rect.top()),
                   QPointF(a.rect.right() - d - span, a.rect.top() + span));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    // Marks sit where the lines cross (diamonds) or in the middle of each cell (dots).
    for (double y = a.rect.top(); y <= a.rect.bottom() + step; y += step / 2) {
        const int row = static_cast<int>(std::lround((y - a.rect.top()) / (step / 2)));
        const double shift = (row % 2 == 0) == diamonds ? 0.0 : step / 2;
        for (double x = a.rect.left() - step + shift; x <= a.rect.right() + step; x += step) {
            const double r = a.u * (diamonds ? 0.22 : 0.16);
            if (diamonds) {
                QPainterPath d;
                d.moveTo(x, y - r);
                d.lineTo(x + r, y);
                d.lineTo(x, y + r);
                d.lineTo(x - r, y);
                d.closeSubpath();
                p.drawPath(d);
            } else {
                p.drawEllipse(QPointF(x, y), r, r);
            }
        }
    }
}

void Rings(QPainter& p, const Area& a) {
    const QColor dark(24, 98, 56), light(74, 160, 102);
    p.fillRect(a.rect, dark);
    const double step = a.u * 0.7;
    int i = 0;
    for (QRectF r = a.rect; r.width() > 0 && r.height() > 0; r.adjust(step, step, -step, -step)) {
        p.setPen(Qt::NoPen);
        p.setBrush(i++ % 2 ? dark : light);
        p.drawRoundedRect(r, a.u * 0.6, a.u * 0.6);
    }
}

QPainterPath Star(QPointF c, double r, int points, double inner) {
    QPainterPath s;
    for (int k = 0; k < 2 * points; ++k) {
        const double angle = std::numbers::pi * k / points - std::numbers::pi / 2;
        const double radius = k % 2 ? r * inner : r;
        const QPointF q(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        if (k == 0)
            s.moveTo(q);
        else
            s.lineTo(q);
    }
    s.closeSubpath();
    return s;
}

void Stars(QPainter& p, const Area& a) {
    p.fillRect(a.rect, QColor(19, 35, 91));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 196, 74));
    const double step = a.u * 1.6;
    int row = 0;
    for (double y = a.rect.top() + step / 2; y < a.rect.bottom() + step; y += step * 0.8, ++row) {
        for (double x = a.rect.left() + (row % 2 ? step / 2 : 0); x < a.rect.right() + step;
             x += step)
            p.drawPath(Star(QPointF(x, y), a.u * 0.45, 4, 0.35));
    }
}

void Harlequin(QPainter& p, const Area& a) {
    p.fillRect(a.rect, QColor(176, 30, 38));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 186, 60));
    const double w = a.u * 1.25, h = a.u * 1.8;
    int row = 0;
    for (double y = a.rect.top() - h; y < a.rect.bottom() + h; y += h / 2, ++row) {
        for (double x = a.rect.left() - w + (row % 2 ? w / 2 : 0); x < a.rect.right() + w;
             x += w * 2) {
            QPainterPath d;
            d.moveTo(x, y - h / 2);
            d.lineTo(x + w / 2, y);
            d.lineTo(x, y + h / 2);
            d.lineTo(x - w / 2, y);
            d.closeSubpath();
            p.drawPath(d);
        }
    }
}

void Dots(QPainter& p, const Area& a) {
    p.fillRect(a.rect, QColor(91, 42, 134));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 186, 240));
    const double step = a.u * 1.3;
    int row = 0;
    for (double y = a.rect.top(); y < a.rect.bottom() + step; y += step * 0.866, ++row)
        for (double x = a.rect.left() + (row % 2 ? step / 2 : 0); x < a.rect.right() + step;
             x += step)
            p.drawEllipse(QPointF(x, y), a.u * 0.36, a.u * 0.36);
}

void Waves(QPainter& p, const Area& a) {
    p.fillRect(a.rect, QColor(15, 118, 124));
    p.setPen(Line(QColor(220, 244, 240), a.u * 0.16));
    p.setBrush(Qt::NoBrush);
    const double step = a.u * 0.9;
    for (double y = a.rect.top(); y < a.rect.bottom() + step; y += step) {
        QPainterPath wave;
        wave.moveTo(a.rect.left() - a.u, y);
        for (double x = a.rect.left() - a.u; x < a.rect.right() + a.u; x += a.u * 2) {
            wave.quadTo(x + a.u / 2, y - a.u * 0.45, x + a.u, y);
            wave.quadTo(x + a.u * 1.5, y + a.u * 0.45, x + a.u * 2, y);
        }
        p.drawPath(wave);
    }
}

void Sunburst(QPainter& p, const Area& a) {
    p.fillRect(a.rect, QColor(232, 115, 26));
    const QPointF c = a.rect.center();
    const double r = a.rect.width() + a.rect.height();
    const int rays = 24;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 174, 66));
    for (int k = 0; k < rays; k += 2) {
        QPainterPath ray;
        ray.moveTo(c);
        for (int j = 0; j < 2; ++j) {
            const double angle = 2 * std::numbers::pi * (k + j) / rays;
            ray.lineTo(c.x() + r * std::cos(angle), c.y() + r * std::sin(angle));
        }
        ray.closeSubpath();
        p.drawPath(ray);
    }
    p.setBrush(QColor(255, 226, 140));
    p.drawEllipse(c, a.u * 1.6, a.u * 1.6);
    p.setBrush(QColor(232, 115, 26));
    p.drawEllipse(c, a.u * 1.1, a.u * 1.1);
}

void Argyle(QPainter& p, const Area& a) {
    p.fillRect(a.rect, QColor(33, 58, 107));
    const double w = a.rect.width() / 3, h = w * 1.5;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(96, 116, 160));
    int row = 0;
    for (double y = a.rect.top(); y < a.rect.bottom() + h; y += h / 2, ++row) {
        for (double x = a.rect.left() + (row % 2 ? w / 2 : 0); x < a.rect.right() + w; x += w) {
            if ((row / 2) % 2 != 0 && row % 2 == 0) continue;
            QPainterPath d;
            d.moveTo(x, y - h / 2);
            d.lineTo(x + w / 2, y);
            d.lineTo(x, y + h / 2);
            d.lineTo(x - w / 2, y);
            d.closeSubpath();
            p.drawPath(d);
        }
    }
    p.setPen(Line(QColor(236, 224, 196), a.u * 0.07));
    const double span = a.rect.width() + a.rect.height() * 2;
    for (double x = a.rect.left() - span; x < a.rect.right() + span; x += w) {
        p.drawLine(QPointF(x, a.rect.top()),
                   QPointF(x + span / 1.5 * (w / h), a.rect.top() + span / 1.5));
        p.drawLine(QPointF(x, a.rect.top()),
                   QPointF(x - span / 1.5 * (w / h), a.rect.top() + span / 1.5));
    }
}

void Medallion(QPainter& p, const Area& a) {
    const QColor ground(109, 26, 42), gold(222, 178, 74);
    p.fillRect(a.rect, ground);
    p.setBrush(Qt::NoBrush);
    p.setPen(Line(gold, a.u * 0.12));
    p.drawRoundedRect(a.rect.adjusted(a.u * 0.4, a.u * 0.4, -a.u * 0.4, -a.u * 0.4), a.u * 0.4,
                      a.u * 0.4);
    const QPointF c = a.rect.center();
    const double r = a.u * 3.2;
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    for (int k = 0; k < 8; ++k) {
        p.save();
        p.translate(c);
        p.rotate(45.0 * k);
        p.drawEllipse(QPointF(0, -r * 0.55), r * 0.2, r * 0.45);
        p.restore();
    }
    p.setBrush(ground);
    p.drawEllipse(c, r * 0.32, r * 0.32);
    p.setBrush(gold);
    p.drawEllipse(c, r * 0.18, r * 0.18);
    // The four suits in the corners of the frame.
    const double m = a.u * 1.3;
    const QPointF corners[4] = {{a.rect.left() + m, a.rect.top() + m},
                                {a.rect.right() - m, a.rect.top() + m},
                                {a.rect.left() + m, a.rect.bottom() - m},
                                {a.rect.right() - m, a.rect.bottom() - m}};
    for (int suit = 0; suit < 4; ++suit)
        CSuitShapes::Draw(p, suit, corners[suit], a.u * 1.1, gold, suit >= 2);
}

void Bricks(QPainter& p, const Area& a) {
    p.fillRect(a.rect, QColor(222, 204, 176));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 72, 40));
    const double bw = a.u * 2.0, bh = a.u * 0.9, gap = a.u * 0.16;
    int row = 0;
    for (double y = a.rect.top(); y < a.rect.bottom(); y += bh, ++row)
        for (double x = a.rect.left() - (row % 2 ? bw / 2 : 0); x < a.rect.right(); x += bw)
            p.drawRect(QRectF(x + gap / 2, y + gap / 2, bw - gap, bh - gap));
}

void Scales(QPainter& p, const Area& a) {
    p.fillRect(a.rect, QColor(24, 24, 28));
    p.setBrush(Qt::NoBrush);
    p.setPen(Line(QColor(201, 162, 39), a.u * 0.13));
    const double r = a.u * 0.75;
    int row = 0;
    for (double y = a.rect.top(); y < a.rect.bottom() + r * 2; y += r * 0.75, ++row)
        for (double x = a.rect.left() + (row % 2 ? r : 0); x < a.rect.right() + r * 2; x += r * 2)
            p.drawArc(QRectF(x - r, y - r, 2 * r, 2 * r), 180 * 16, 180 * 16);
}

} // namespace

void CCardBackPainter::Paint(QPainter& painter, QSizeF size, int code) {
    if (!IsBack(code)) return;
    const double s = std::min(size.width() / 71.0, size.height() / 96.0);
    const double margin = std::max(1.0, 3.5 * s);
    const QRectF inner(margin, margin, size.width() - 2 * margin, size.height() - 2 * margin);
    if (inner.width() <= 0 || inner.height() <= 0) return;
    const Area area{inner, inner.width() / 10.0};
    painter.save();
    QPainterPath clip;
    clip.addRoundedRect(inner, 2.5 * s, 2.5 * s);
    painter.setClipPath(clip);
    switch (code) {
    case 54:
        Lattice(painter, area, QColor(31, 79, 160), QColor(214, 228, 250), false);
        break;
    case 55:
        Lattice(painter, area, QColor(178, 31, 42), QColor(252, 226, 214), true);
        break;
    case 56:
        Rings(painter, area);
        break;
    case 57:
        Stars(painter, area);
        break;
    case 58:
        Harlequin(painter, area);
        break;
    case 59:
        Dots(painter, area);
        break;
    case 60:
        Waves(painter, area);
        break;
    case 61:
        Sunburst(painter, area);
        break;
    case 62:
        Argyle(painter, area);
        break;
    case 63:
        Medallion(painter, area);
        break;
    case 64:
        Bricks(painter, area);
        break;
    case 65:
        Scales(painter, area);
        break;
    default:
        break;
    }
    painter.restore();
}
