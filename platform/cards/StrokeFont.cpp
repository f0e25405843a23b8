#include "platform/cards/StrokeFont.h"

#include <QColor>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <QStringList>

namespace {

// Each glyph is a list of commands on a 6 x 10 grid, y growing downwards:
//   M x y                     move to
//   L x y                     line to
//   A cx cy rx ry start sweep arc of the ellipse around (cx, cy), joined by a line
//   N cx cy rx ry start sweep the same arc, starting a new stroke
// Angles are in degrees, counter-clockwise on screen, 0 pointing right.
const char* GlyphSource(QChar c) {
    switch (c.toUpper().unicode()) {
    case 'A':
        return "M0 10 L3 0 L6 10 M1.1 6.6 L4.9 6.6";
    case 'B':
        return "M0 5 L3.3 5 A3.3 2.5 2.7 2.5 -90 180 L0 0 L0 10 L3.4 10 A3.4 7.5 2.6 2.5 -90 180 "
               "L0 5";
    case 'C':
        return "N3.2 5 3 5 45 270";
    case 'D':
        return "M0 0 L0 10 L2 10 A2 5 4 5 -90 180 L0 0";
    case 'E':
        return "M6 0 L0 0 L0 10 L6 10 M0 5 L4.5 5";
    case 'F':
        return "M6 0 L0 0 L0 10 M0 5 L4.5 5";
    case 'G':
        return "N3 5 3 5 50 300 L6 5 L3.6 5";
    case 'H':
        return "M0 0 L0 10 M6 0 L6 10 M0 5 L6 5";
    case 'I':
        return "M3 0 L3 10 M1.3 0 L4.7 0 M1.3 10 L4.7 10";
    case 'J':
        return "M2.2 0 L6 0 M5 0 L5 7.3 A2.6 7.3 2.4 2.7 0 -180";
    case 'K':
        return "M0 0 L0 10 M6 0 L0.2 6 M2.3 3.9 L6 10";
    case 'L':
        return "M0 0 L0 10 L6 10";
    case 'M':
        return "M0 10 L0 0 L3 6 L6 0 L6 10";
    case 'N':
        return "M0 10 L0 0 L6 10 L6 0";
    case 'O':
        return "N3 5 3 5 0 360";
    case 'P':
        return "M0 10 L0 0 L3.4 0 A3.4 2.75 2.6 2.75 90 -180 L0 5.5";
    case 'Q':
        return "N3 5 3 5 0 360 M3.6 7 L6.2 10.3";
    case 'R':
        return "M0 10 L0 0 L3.4 0 A3.4 2.75 2.6 2.75 90 -180 L0 5.5 M3 5.5 L6 10";
    case 'S':
        return "N3 2.5 2.8 2.5 25 245 A3 7.5 3 2.5 90 -250";
    case 'T':
        return "M0 0 L6 0 M3 0 L3 10";
    case 'U':
        return "M0 0 L0 7 A3 7 3 3 180 180 L6 0";
    case 'V':
        return "M0 0 L3 10 L6 0";
    case 'W':
        return "M0 0 L1.5 10 L3 4 L4.5 10 L6 0";
    case 'X':
        return "M0 0 L6 10 M6 0 L0 10";
    case 'Y':
        return "M0 0 L3 5 L6 0 M3 5 L3 10";
    case 'Z':
        return "M0 0 L6 0 L0 10 L6 10";
    case '0':
        return "N3 5 3 5 0 360";
    case '1':
        return "M0.8 2.2 L3.5 0 L3.5 10";
    case '2':
        return "N3 3 3 3 160 -200 L0 10 L6 10";
    case '3':
        return "N3 2.5 2.8 2.5 150 -240 A3 7.5 3 2.5 90 -240";
    case '4':
        return "M4.5 10 L4.5 0 L0 7 L6 7";
    case '5':
        return "M5.6 0 L1 0 L0.6 4.7 A3 6.8 3 3.2 140 -280";
    case '6':
        return "N5.5 7 5.5 7 105 75 N3 7 3 3 0 360";
    case '7':
        return "M0 0 L6 0 L2 10";
    case '8':
        return "N3 2.5 2.6 2.5 0 360 N3 7.5 3 2.5 0 360";
    case '9':
        return "N3 3 3 3 0 360 N0.5 3 5.5 7 285 75";
    default:
        return nullptr;
    }
}

QPainterPath ParseGlyph(const char* source) {
    QPainterPath path;
    if (!source) return path;
    const QStringList tokens = QString::fromLatin1(source).split(' ', Qt::SkipEmptyParts);
    int i = 0;
    auto number = [&](int k) { return tokens.value(i + k).toDouble(); };
    while (i < tokens.size()) {
        const QString& t = tokens[i];
        const QChar op = t[0]; // the command letter is glued to its first number
        auto first = [&]() { return t.mid(1).toDouble(); };
        if (op == 'M' || op == 'L') {
            const QPointF p(first(), number(1));
            if (op == 'M')
                path.moveTo(p);
            else
                path.lineTo(p);
            i += 2;
        } else if (op == 'A' || op == 'N') {
            const double cx = first(), cy = number(1), rx = number(2), ry = number(3);
            const double start = number(4), sweep = number(5);
            const QRectF box(cx - rx, cy - ry, 2 * rx, 2 * ry);
            if (op == 'N') path.arcMoveTo(box, start);
            path.arcTo(box, start, sweep);
            i += 6;
        } else {
            ++i;
        }
    }
    return path;
}

const QHash<QChar, QPainterPath>& GlyphCache() {
    static const QHash<QChar, QPainterPath> cache = [] {
        QHash<QChar, QPainterPath> h;
        const QString all = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
        for (QChar c : all)
            h.insert(c, ParseGlyph(GlyphSource(c)));
        return h;
    }();
    return cache;
}

} // namespace

QPainterPath CStrokeFont::Glyph(QChar c) {
    return GlyphCache().value(c.toUpper());
}

double CStrokeFont::GlyphWidth(QChar c) {
    switch (c.toUpper().unicode()) {
    case ' ':
        return 4.0;
    case '1':
        return 4.0;
    case 'I':
        return 6.0;
    default:
        return GlyphCache().contains(c.toUpper()) ? 6.0 : 0.0;
    }
}

QPainterPath CStrokeFont::TextPath(const QString& text) {
    QPainterPath path;
    double x = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (i > 0) x += kGap;
        path.addPath(Glyph(text[i]).translated(x, 0));
        x += GlyphWidth(text[i]);
    }
    return path;
}

double CStrokeFont::TextWidth(const QString& text) {
    double x = 0;
    for (int i = 0; i < text.size(); ++i)
        x += GlyphWidth(text[i]) + (i > 0 ? kGap : 0.0);
    return x;
}

void CStrokeFont::Draw(QPainter& painter, double x, double y, double height, const QString& text,
                       const QColor& colour, double weight) {
    if (height <= 0 || text.isEmpty()) return;
    const double scale = height / kCapHeight;
    painter.save();
    painter.translate(x, y);
    painter.scale(scale, scale);
    QPen pen(colour, weight * kCapHeight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(TextPath(text));
    painter.restore();
}

void CStrokeFont::DrawCentred(QPainter& painter, double cx, double y, double height,
                              const QString& text, const QColor& colour, double weight) {
    const double width = TextWidth(text) * height / kCapHeight;
    Draw(painter, cx - width / 2, y, height, text, colour, weight);
}
