// The handwriting face of the score sheet. The first of our preferred faces
// that is installed is used; without any of them the sheet is written in the
// application's default face, bold, at the same size.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class CScoreSheetFont {
public:
    // Faces tried in order.
    static QStringList PreferredFamilies();
    // The first preferred face that is installed, or an empty string.
    static QString InstalledFamily();
    // The sheet's font for `points` at `dpiY` pixels per inch: a pixel height of
    // points * dpiY / 72 rounded, weight bold.
    static QFont Make(int points, int dpiY);
    // points * dpiY / 72, rounded half away from zero.
    static int PixelHeight(int points, int dpiY);
};
