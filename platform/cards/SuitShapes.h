// Outlines of the four suit signs (club, diamond, heart, spade) as painter
// paths, shared by the card faces and by the program's icons.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QPainter;

class CSuitShapes {
public:
    // Suit numbers of the card codes: 0 club, 1 diamond, 2 heart, 3 spade.
    static constexpr int kSuits = 4;

    // The suit sign filling the box (-0.5, -0.5)-(0.5, 0.5), y growing downwards;
    // an empty path for a number that is not a suit.
    static QPainterPath Path(int suit);
    static bool IsRed(int suit) { return suit == 1 || suit == 2; }
    // Ink of the suit on a white card: red for diamonds and hearts, near black else.
    static QColor Ink(int suit);

    // Fills the suit sign `size` pixels high centred on `centre`; turned upside
    // down when `flipped`.
    static void Draw(QPainter& painter, int suit, QPointF centre, double size, const QColor& colour,
                     bool flipped = false);
    // As Draw, with an outline of `outline` pixels in `outlineColour` around it.
    static void DrawOutlined(QPainter& painter, int suit, QPointF centre, double size,
                             const QColor& colour, const QColor& outlineColour, double outline);
};
