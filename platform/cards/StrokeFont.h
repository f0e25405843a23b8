// A small stroked capital font (A-Z, 0-9) drawn with QPainter paths, so that
// card indices and the few words on our pictures look the same on every
// machine, whatever fonts are installed.
#pragma once

#include <QPainterPath>
#include <QString>

class QPainter;
class QColor;

class CStrokeFont {
public:
    // Glyph cell: capitals are 10 units high; most glyphs are 6 units wide.
    static constexpr double kCapHeight = 10.0;
    static constexpr double kGap = 2.2; // space between glyphs, in units

    // Centre-line path of one glyph with its top-left at (0, 0), in units; empty
    // for characters the font does not have (a space is empty too).
    static QPainterPath Glyph(QChar c);
    static double GlyphWidth(QChar c);

    // Centre-line path of a whole text, in units, top-left at (0, 0).
    static QPainterPath TextPath(const QString& text);
    static double TextWidth(const QString& text);

    // Draws text with its cap height `height` pixels, the top-left of the caps at
    // (x, y); `weight` is the stroke width as a fraction of the cap height.
    static void Draw(QPainter& painter, double x, double y, double height, const QString& text,
                     const QColor& colour, double weight = 0.15);
    // As Draw, centred horizontally on cx.
    static void DrawCentred(QPainter& painter, double cx, double y, double height,
                            const QString& text, const QColor& colour, double weight = 0.15);
};
