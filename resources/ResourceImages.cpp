#include "resources/ResourceImages.h"

#include "resources/AppIconPainter.h"
#include "resources/IconPainter.h"
#include "resources/ResourceIds.h"
#include "resources/ScoreSheetPainter.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <cmath>
#include <functional>

using namespace resid;

namespace {

bool InRange(int id, int first, int count) {
    return id >= first && id < first + count;
}

// Pictures already made, by kind and number and size. A picture is made outside
// the lock, since making one may ask for another (the sheet's bitmaps).
QImage Kept(quint64 key, const std::function<QImage()>& make) {
    static QMutex mutex;
    static QHash<quint64, QImage> kept;
    {
        QMutexLocker lock(&mutex);
        const auto found = kept.constFind(key);
        if (found != kept.constEnd()) return found.value();
    }
    QImage image = make();
    QMutexLocker lock(&mutex);
    return *kept.insert(key, image);
}

quint64 Key(int kind, int id, int size) {
    return (static_cast<quint64>(kind) << 48) | (static_cast<quint64>(id & 0xFFFF) << 24) |
           static_cast<quint64>(size & 0xFFFFFF);
}

// A device pixel ratio as the size field of a key, in hundredths.
int RatioKey(double ratio) {
    return static_cast<int>(std::lround(ratio * 100));
}

bool UsableRatio(double ratio) {
    return ratio > 0 && ratio <= 16;
}

QImage WithRatio(QImage image, double ratio) {
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace

QSize CResourceImages::IconSize(int id) {
    if (id == kIconApp) return {32, 32};
    if (InRange(id, kIconSuitItem, 5) || InRange(id, kIconSuitItemSelected, 5) ||
        InRange(id, kIconSuitItemDisabled, 5))
        return {20, 20};
    if (InRange(id, kIconTurnA, 4) || id == kIconMarker) return {32, 32};
    if (InRange(id, kIconSheetSuit, 7)) return {16, 16};
    return {};
}

QSize CResourceImages::BitmapSize(int id) {
    switch (id) {
    case kBitmapCallImages:
        return {kCallImageWidth * kCallImageCount, 16};
    case kBitmapScoreSheet:
    case kBitmapScoreSheetMask:
        return {CScoreSheetPainter::kWidth, CScoreSheetPainter::kHeight};
    default:
        return {};
    }
}

QImage CResourceImages::Icon(int id) {
    return Icon(id, IconSize(id).width());
}

QImage CResourceImages::Icon(int id, int size) {
    if (!HasIcon(id) || size <= 0 || size > 4096) return {};
    return Kept(Key(0, id, size), [&] { return MakeIcon(id, size); });
}

QImage CResourceImages::MakeIcon(int id, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (id == kIconApp) {
        CAppIconPainter::Paint(painter, size);
        return image;
    }
    const double scale = double(size) / IconSize(id).width();
    painter.scale(scale, scale);
    using State = CIconPainter::ItemState;
    if (InRange(id, kIconSuitItem, 5))
        CIconPainter::SuitItem(painter, id - kIconSuitItem, State::Normal);
    else if (InRange(id, kIconSuitItemSelected, 5))
        CIconPainter::SuitItem(painter, id - kIconSuitItemSelected, State::Selected);
    else if (InRange(id, kIconSuitItemDisabled, 5))
        CIconPainter::SuitItem(painter, id - kIconSuitItemDisabled, State::Disabled);
    else if (InRange(id, kIconTurnA, 4))
        CIconPainter::TurnMarker(painter, id >= kIconTurnComputerA, (id - kIconTurnA) % 2 == 0);
    else if (InRange(id, kIconSheetSuit, 5))
        CIconPainter::SheetSuit(painter, id - kIconSheetSuit);
    else if (id == kIconSheetDoubled || id == kIconSheetRedoubled)
        CIconPainter::SheetDoubleMark(painter, id == kIconSheetRedoubled);
    else if (id == kIconMarker)
        CIconPainter::KingQueenMarker(painter);
    return image;
}

QImage CResourceImages::ScoreSheet() {
    return Kept(Key(1, 0, 0), [] { return CScoreSheetPainter::Composite(); });
}

QImage CResourceImages::Bitmap(int id) {
    switch (id) {
    case kBitmapCallImages:
        return Kept(Key(2, id, 0), [] { return CIconPainter::CallImages(); });
    case kBitmapScoreSheet:
        return Kept(Key(2, id, 0), [] { return CScoreSheetPainter::Sheet(ScoreSheet()); });
    case kBitmapScoreSheetMask:
        return Kept(Key(2, id, 0), [] { return CScoreSheetPainter::Mask(ScoreSheet()); });
    default:
        return {};
    }
}

QImage CResourceImages::CallImage(int index) {
    if (index < 0 || index >= kCallImageCount) return {};
    return Kept(Key(3, index, 0), [index] {
        QImage image = Bitmap(kBitmapCallImages)
                           .copy(index * kCallImageWidth, 0, kCallImageWidth, 16)
                           .convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
        }
        return image;
    });
}

QImage CResourceImages::IconAt(int id, double ratio) {
    if (!HasIcon(id) || !UsableRatio(ratio)) return {};
    return Kept(Key(4, id, RatioKey(ratio)), [&] {
        const int size = static_cast<int>(std::lround(IconSize(id).width() * ratio));
        return WithRatio(Icon(id, size), ratio);
    });
}

QImage CResourceImages::ScoreSheetAt(double ratio) {
    return Kept(Key(5, 0, RatioKey(ratio)), [&] { return CScoreSheetPainter::Composite(ratio); });
}

QImage CResourceImages::BitmapAt(int id, double ratio) {
    if (!HasBitmap(id) || !UsableRatio(ratio)) return {};
    return Kept(Key(6, id, RatioKey(ratio)), [&] {
        switch (id) {
        case kBitmapCallImages:
            return WithRatio(CIconPainter::CallImages(ratio), ratio);
        case kBitmapScoreSheet:
            return WithRatio(CScoreSheetPainter::Sheet(ScoreSheetAt(ratio)), ratio);
        default:
            return WithRatio(CScoreSheetPainter::Mask(ScoreSheetAt(ratio)), ratio);
        }
    });
}

QImage CResourceImages::CallImageAt(int index, double ratio) {
    if (index < 0 || index >= kCallImageCount || !UsableRatio(ratio)) return {};
    return Kept(Key(7, index, RatioKey(ratio)), [&] {
        const auto edge = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
        const int left = edge(index * kCallImageWidth);
        QImage all = BitmapAt(kBitmapCallImages, ratio);
        all.setDevicePixelRatio(1.0);
        QImage image = all.copy(left, 0, edge((index + 1) * kCallImageWidth) - left, edge(16))
                           .convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
        }
        return WithRatio(image, ratio);
    });
}

const std::vector<int>& CResourceImages::AppIconSizes() {
    static const std::vector<int> sizes = {16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QIcon CResourceImages::AppIcon() {
    QIcon icon;
    for (int size : AppIconSizes())
        icon.addPixmap(QPixmap::fromImage(Icon(kIconApp, size)));
    return icon;
}

const std::vector<int>& CResourceImages::IconIds() {
    static const std::vector<int> ids = [] {
        std::vector<int> v;
        for (int id = 0; id < 1000; ++id)
            if (HasIcon(id)) v.push_back(id);
        return v;
    }();
    return ids;
}

const std::vector<int>& CResourceImages::BitmapIds() {
    static const std::vector<int> ids = {kBitmapCallImages, kBitmapScoreSheet,
                                         kBitmapScoreSheetMask};
    return ids;
}
