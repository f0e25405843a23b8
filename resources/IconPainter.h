// Draws the program's small icons and the call images. Each icon is drawn in
// the coordinates of its natural size; the caller scales the painter for other
// sizes.
#pragma once

#include <QImage>
#include <QRectF>

class QColor;
class QPainter;

class CIconPainter {
public:
    enum class ItemState { Normal, Selected, Disabled };

    // Suit list item `item` (0..3 the suits, 4 no-trump), 20 x 20.
    static void SuitItem(QPainter& painter, int item, ItemState state);
    // Turn marker, 32 x 32, kept inside the square (1, 1)-(31, 31) that the
    // table clears under it.
    static void TurnMarker(QPainter& painter, bool computer, bool brightPhase);
    // Contract suit on the score sheet (0..3 the suits, 4 no-trump), 16 x 16, in
    // the upper left 11 x 11 pixels; the double marks use the column to its right.
    static void SheetSuit(QPainter& painter, int item);
    static void SheetDoubleMark(QPainter& painter, bool redouble);
    // The trump king-and-queen marker, 32 x 32: a crown.
    static void KingQueenMarker(QPainter& painter);
    // Bitmap 142: nine 18 x 16 images on white, drawn `scale` times as large.
    static QImage CallImages(double scale = 1.0);

    // "NT" filling `box`, for the no-trump items.
    static void NoTrump(QPainter& painter, const QRectF& box, const QColor& colour,
                        double weight = 0.2);
};
