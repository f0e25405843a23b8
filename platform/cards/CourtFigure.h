// The figure of a jack, queen or king, drawn double-ended in a frame in the
// middle of the card: a bust with the headgear of its rank, robed in the
// colours of its suit.
#pragma once

#include <QRectF>

class QPainter;

class CCourtFigure {
public:
    static constexpr int kJack = 10;
    static constexpr int kQueen = 11;
    static constexpr int kKing = 12;

    // Paints the frame and both halves of the figure inside `frame`; `scale` is
    // the card's size against the standard card (1.0 at the standard size).
    static void Paint(QPainter& painter, const QRectF& frame, int rankIndex, int suit,
                      double scale);

private:
    static void PaintHalf(QPainter& painter, const QRectF& half, int rankIndex, int suit,
                          double scale);
};
