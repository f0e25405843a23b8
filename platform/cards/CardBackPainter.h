// Paints the twelve card backs (codes 54..65) into a card-sized area.
#pragma once

#include <QSizeF>

class QPainter;

class CCardBackPainter {
public:
    static constexpr int kFirstBack = 54;
    static constexpr int kLastBack = 65;
    static bool IsBack(int code) { return code >= kFirstBack && code <= kLastBack; }

    // Paints back `code` over the whole card (0, 0)-(size), leaving a white
    // margin; the card's outline is the caller's. Does nothing for other codes.
    static void Paint(QPainter& painter, QSizeF size, int code);
};
