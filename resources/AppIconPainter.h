// The program's icon: two cards fanned on a piece of green table. Small sizes
// get a simpler picture (one card) so they stay clear.
#pragma once

class QPainter;

class CAppIconPainter {
public:
    // Draws the icon filling (0, 0)-(size, size).
    static void Paint(QPainter& painter, int size);
};
