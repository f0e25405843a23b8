// Dialog units: the layouts of our dialogs are given in units of the dialog
// font, a quarter of its average character width across and an eighth of its
// character height down, so that they keep their proportions with any font.
//
// The average character width is that of the 52 letters A-Z and a-z, kept
// with its fraction. (The font's own average, QFontMetrics::averageCharWidth,
// comes out too small for common Linux fonts: texts overflowed their controls.)
#pragma once

#include <QFont>
#include <QRect>

class CDialogUnits {
public:
    // Base units of `font`.
    explicit CDialogUnits(const QFont& font);
    // Given base units, in pixels.
    CDialogUnits(int baseX, int baseY);

    // The average character width, rounded, and the character height.
    int BaseX() const;
    double BaseXF() const { return static_cast<double>(m_xNum) / m_xDen; }
    int BaseY() const { return m_baseY; }

    // x * baseX / 4 and y * baseY / 8, rounded to the nearest pixel.
    int X(int x) const;
    int Y(int y) const;
    // A rectangle given as left, top, width, height in dialog units.
    QRect Rect(int x, int y, int cx, int cy) const;

private:
    // The average character width is m_xNum / m_xDen pixels.
    int m_xNum;
    int m_xDen;
    int m_baseY;
};
