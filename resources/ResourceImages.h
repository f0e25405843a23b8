// The program's numbered icons and bitmaps, drawn in code. Icons come with an
// alpha channel; bitmaps are opaque, as the program's drawing expects them (the
// call images on white, the score sheet and its mask for an AND/OR pair).
//
// Pictures are made once and kept; every function may be called from any
// thread except the QPixmap and QIcon ones, which need the GUI thread.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <vector>

class CResourceImages {
public:
    static bool HasIcon(int id) { return IconSize(id).isValid(); }
    static bool HasBitmap(int id) { return BitmapSize(id).isValid(); }
    // Natural size; an invalid size for an unknown number.
    static QSize IconSize(int id);
    static QSize BitmapSize(int id);

    // Icon `id` at its natural size, or drawn for `size` x `size` pixels; a null
    // image for an unknown number.
    static QImage Icon(int id);
    static QImage Icon(int id, int size);
    // Bitmap `id`; a null image for an unknown number.
    static QImage Bitmap(int id);
    // Image `index` of the call images (bitmap 142) with its white made transparent.
    static QImage CallImage(int index);
    // The score sheet with its shadow as one picture with an alpha channel: the
    // same as drawing the mask with AND and then the sheet with OR.
    static QImage ScoreSheet();

    static QPixmap IconPixmap(int id) { return QPixmap::fromImage(Icon(id)); }

    // The same pictures for a screen of `ratio` device pixels per pixel: drawn
    // at that many times their size, with the ratio set on them, so that they
    // keep their natural size on the screen and come out sharp.
    static QImage IconAt(int id, double ratio);
    static QImage BitmapAt(int id, double ratio);
    static QImage CallImageAt(int index, double ratio);
    static QPixmap IconPixmapAt(int id, double ratio) {
        return QPixmap::fromImage(IconAt(id, ratio));
    }
    // The program's icon with every size of AppIconSizes().
    static QIcon AppIcon();
    static const std::vector<int>& AppIconSizes();

    static const std::vector<int>& IconIds();
    static const std::vector<int>& BitmapIds();

private:
    static QImage MakeIcon(int id, int size);
    static QImage ScoreSheetAt(double ratio);
};
