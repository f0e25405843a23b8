// Paints the face of a card (codes 0..51) into a card-sized area: the rank and
// suit in two corners, the suit signs of the ace and the number cards, and a
// framed figure for the jack, queen and king.
#pragma once

#include <QSizeF>
#include <QString>

class QPainter;

class CCardFacePainter {
public:
    static bool IsFace(int code) { return code >= 0 && code <= 51; }
    static int RankIndex(int code) { return code / 4; } // 0 ace .. 12 king
    static int Suit(int code) { return code % 4; }
    // "A", "2" .. "10", "J", "Q", "K".
    static QString RankText(int rankIndex);

    // Paints face `code` over the white card (0, 0)-(size); the card's outline
    // is the caller's. Does nothing for other codes.
    static void Paint(QPainter& painter, QSizeF size, int code);

private:
    static void PaintIndex(QPainter& painter, QSizeF size, int code);
    static void PaintPips(QPainter& painter, QSizeF size, int code);
};
