// The program's numbered icons and bitmaps: each one exists at its size, draws
// something, and keeps to the places where the program puts it.
#include "resources/ResourceImages.h"
#include "resources/ResourceIds.h"
#include "tests/platform/cards/PictureSheet.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPainter>
#include <map>
#include <set>

using namespace resid;

namespace {

struct Expected {
    int id;
    QSize size;
};

// Every icon the program draws, at the size it is drawn.
const Expected kIcons[] = {
    {128, {32, 32}}, {161, {20, 20}}, {162, {20, 20}}, {163, {20, 20}}, {164, {20, 20}},
    {165, {20, 20}}, {171, {20, 20}}, {172, {20, 20}}, {173, {20, 20}}, {174, {20, 20}},
    {175, {20, 20}}, {181, {20, 20}}, {182, {20, 20}}, {183, {20, 20}}, {184, {20, 20}},
    {185, {20, 20}}, {192, {32, 32}}, {193, {32, 32}}, {194, {32, 32}}, {195, {32, 32}},
    {199, {16, 16}}, {200, {16, 16}}, {201, {16, 16}}, {202, {16, 16}}, {203, {16, 16}},
    {204, {16, 16}}, {205, {16, 16}}, {206, {32, 32}},
};
const Expected kBitmaps[] = {{142, {162, 16}}, {199, {402, 376}}, {200, {402, 376}}};

int Opaque(const QImage& image, int threshold = 128) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) >= threshold;
    return n;
}

bool IsGrey(QRgb p) {
    return std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) < 12;
}

QImage Enlarged(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

TEST(ResourceIcons, EveryNumberedIconExistsAtItsSize) {
    for (const Expected& e : kIcons) {
        EXPECT_TRUE(CResourceImages::HasIcon(e.id)) << e.id;
        EXPECT_EQ(CResourceImages::IconSize(e.id), e.size) << e.id;
        const QImage icon = CResourceImages::Icon(e.id);
        ASSERT_FALSE(icon.isNull()) << e.id;
        EXPECT_EQ(icon.size(), e.size) << e.id;
        EXPECT_TRUE(icon.hasAlphaChannel()) << e.id;
        EXPECT_GE(Opaque(icon), 6) << "icon " << e.id << " is empty";
    }
    EXPECT_EQ(CResourceImages::IconIds().size(), std::size(kIcons));
}

TEST(ResourceIcons, UnknownNumbersHaveNoPicture) {
    for (int id : {0, 127, 129, 142, 160, 166, 170, 176, 186, 191, 196, 198, 207, -1}) {
        EXPECT_FALSE(CResourceImages::HasIcon(id)) << id;
        EXPECT_TRUE(CResourceImages::Icon(id).isNull()) << id;
    }
    for (int id : {0, 128, 131, 141, 143, 198, 201}) {
        EXPECT_FALSE(CResourceImages::HasBitmap(id)) << id;
        EXPECT_TRUE(CResourceImages::Bitmap(id).isNull()) << id;
    }
    EXPECT_TRUE(CResourceImages::CallImage(-1).isNull());
    EXPECT_TRUE(CResourceImages::CallImage(9).isNull());
}

TEST(ResourceIcons, SuitListIconsDifferByItemAndState) {
    std::set<QByteArray> seen;
    for (int base : {161, 171, 181}) {
        for (int item = 0; item < 5; ++item) {
            const QImage icon = CResourceImages::Icon(base + item);
            seen.insert(QByteArray(reinterpret_cast<const char*>(icon.constBits()),
                                   static_cast<qsizetype>(icon.sizeInBytes())));
        }
    }
    EXPECT_EQ(seen.size(), 15u);
    // Disabled items are grey; selected items sit on a filled highlight.
    for (int id = 181; id <= 185; ++id) {
        const QImage icon = CResourceImages::Icon(id);
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if (qAlpha(icon.pixel(x, y)) > 0) {
                    ASSERT_TRUE(IsGrey(icon.pixel(x, y)))
                        << "icon " << id << " at " << x << "," << y;
                }
    }
    for (int id = 171; id <= 175; ++id)
        EXPECT_GT(Opaque(CResourceImages::Icon(id)), 300) << id;
    // Red suits are red, black suits are not.
    auto reddish = [](const QImage& icon) {
        int n = 0;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) {
                const QColor c = icon.pixelColor(x, y);
                n += c.alpha() == 255 && c.red() > 150 && c.green() < 80;
            }
        return n;
    };
    EXPECT_GT(reddish(CResourceImages::Icon(162)), 40);
    EXPECT_GT(reddish(CResourceImages::Icon(163)), 40);
    EXPECT_EQ(reddish(CResourceImages::Icon(161)), 0);
    EXPECT_EQ(reddish(CResourceImages::Icon(164)), 0);
}

TEST(ResourceIcons, TurnMarkersStayInsideTheSquareTheTableClears) {
    // The table clears the 30 x 30 square one pixel right of and below the
    // marker's position, so the marker's outer ring of pixels must stay empty.
    std::set<QRgb> middles;
    for (int id = 192; id <= 195; ++id) {
        const QImage icon = CResourceImages::Icon(id);
        for (int i = 0; i < 32; ++i) {
            EXPECT_EQ(qAlpha(icon.pixel(i, 0)), 0) << id;
            EXPECT_EQ(qAlpha(icon.pixel(0, i)), 0) << id;
            EXPECT_EQ(qAlpha(icon.pixel(i, 31)), 0) << id;
            EXPECT_EQ(qAlpha(icon.pixel(31, i)), 0) << id;
        }
        EXPECT_GT(Opaque(icon), 400) << id;
        middles.insert(icon.pixel(10, 16));
    }
    // The two blink phases and the person / computer markers all look different.
    EXPECT_EQ(middles.size(), 4u);
}

TEST(ResourceIcons, DoubleMarksDoNotHideTheContractSuit) {
    const QImage doubled = CResourceImages::Icon(204);
    const QImage redoubled = CResourceImages::Icon(205);
    for (int suit = 199; suit <= 203; ++suit) {
        const QImage icon = CResourceImages::Icon(suit);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int a = qAlpha(icon.pixel(x, y));
                EXPECT_FALSE(a > 128 && qAlpha(doubled.pixel(x, y)) > 128) << suit;
                EXPECT_FALSE(a > 128 && qAlpha(redoubled.pixel(x, y)) > 128) << suit;
            }
    }
    // A redoubled contract shows both marks, each visible.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_FALSE(qAlpha(doubled.pixel(x, y)) > 128 && qAlpha(redoubled.pixel(x, y)) > 128);
}

TEST(ResourceIcons, MarkerIsCentredOverTheCard) {
    // The marker is drawn at (card x + card width / 2 - 16, card y): its picture
    // must be centred on the icon's middle column and sit in its upper part.
    const QImage marker = CResourceImages::Icon(206);
    QRect box;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (qAlpha(marker.pixel(x, y)) > 128) box = box.united(QRect(x, y, 1, 1));
    ASSERT_FALSE(box.isEmpty());
    EXPECT_NEAR((box.left() + box.right() + 1) / 2.0, 16.0, 1.0);
    EXPECT_GE(box.width(), 20);
    EXPECT_LE(box.bottom(), 28);
}

TEST(ResourceIcons, AppIconAtEverySize) {
    const QIcon icon = CResourceImages::AppIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    std::set<QByteArray> seen;
    for (int size : CResourceImages::AppIconSizes()) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image = CResourceImages::Icon(128, size);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_GT(Opaque(image), size * size / 2) << size;
        // Rounded corners.
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 64) << size;
        seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                               static_cast<qsizetype>(image.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), CResourceImages::AppIconSizes().size());
    EXPECT_EQ(CResourceImages::Icon(128), CResourceImages::Icon(128, 32));
}

TEST(ResourceBitmaps, EveryNumberedBitmapExistsAtItsSize) {
    for (const Expected& e : kBitmaps) {
        EXPECT_TRUE(CResourceImages::HasBitmap(e.id)) << e.id;
        EXPECT_EQ(CResourceImages::BitmapSize(e.id), e.size) << e.id;
        const QImage bitmap = CResourceImages::Bitmap(e.id);
        ASSERT_FALSE(bitmap.isNull()) << e.id;
        EXPECT_EQ(bitmap.size(), e.size) << e.id;
        EXPECT_FALSE(bitmap.hasAlphaChannel()) << e.id;
    }
    EXPECT_EQ(CResourceImages::BitmapIds().size(), std::size(kBitmaps));
}

TEST(ResourceBitmaps, CallImagesOnWhite) {
    const QImage strip = CResourceImages::Bitmap(kBitmapCallImages);
    for (int i = 0; i < kCallImageCount; ++i) {
        const QImage image = CResourceImages::CallImage(i);
        ASSERT_EQ(image.size(), QSize(18, 16));
        // Image 8 (an automatic pass or a filler row) is blank; all others show something.
        if (i == 8)
            EXPECT_EQ(Opaque(image, 1), 0);
        else
            EXPECT_GT(Opaque(image), 10) << i;
        // Where the strip is white, the image is see-through.
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 18; ++x)
                if ((strip.pixel(i * 18 + x, y) & 0xFFFFFF) == 0xFFFFFF) {
                    ASSERT_EQ(qAlpha(image.pixel(x, y)), 0);
                }
    }
}

TEST(ResourceBitmaps, SheetAndMaskMakeOnePicture) {
    const QImage sheet = CResourceImages::Bitmap(kBitmapScoreSheet);
    const QImage mask = CResourceImages::Bitmap(kBitmapScoreSheetMask);
    // Where the mask keeps the table whole the sheet adds nothing.
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if ((mask.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) {
                ASSERT_EQ(sheet.pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
            }
    // Corners show the table; the middle and the place of the first row are paper.
    EXPECT_EQ(mask.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(mask.pixel(401, 375) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(mask.pixel(201, 188) & 0xFFFFFF, 0u);
    EXPECT_EQ(mask.pixel(30, 80) & 0xFFFFFF, 0u);
    EXPECT_GT(qGray(sheet.pixel(30, 80)), 200);
    // The shadow darkens the table without hiding it.
    const int shadow = qGray(mask.pixel(395, 188));
    EXPECT_GT(shadow, 40);
    EXPECT_LT(shadow, 250);

    // Drawing the pair onto the table as the view does (AND, then OR) gives the
    // same picture as laying the composite over it.
    QImage table(402, 376, QImage::Format_RGB32), composed(402, 376, QImage::Format_RGB32);
    table.fill(QColor(0, 128, 0));
    composed.fill(QColor(0, 128, 0));
    {
        QPainter p(&table);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(0, 0, mask);
        p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        p.drawImage(0, 0, sheet);
    }
    {
        QPainter p(&composed);
        p.drawImage(0, 0, CResourceImages::ScoreSheet());
    }
    int far = 0;
    for (int y = 0; y < 376; ++y)
        for (int x = 0; x < 402; ++x) {
            const QRgb a = table.pixel(x, y), b = composed.pixel(x, y);
            far += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                       std::abs(qBlue(a) - qBlue(b)) >
                   90;
        }
    EXPECT_LT(far, 402 * 376 / 200);
}

TEST(ResourceSheets, WriteSheetsOfEveryPicture) {
    std::vector<QImage> icons, large;
    for (const Expected& e : kIcons) {
        icons.push_back(CResourceImages::Icon(e.id));
        large.push_back(Enlarged(CResourceImages::Icon(e.id), 4));
    }
    std::vector<QImage> app;
    for (int size : CResourceImages::AppIconSizes())
        app.push_back(CResourceImages::Icon(128, size));
    // The score sheet as the view draws it, with a contract row in place.
    QImage table(460, 420, QImage::Format_RGB32);
    table.fill(QColor(0, 128, 0));
    {
        QPainter p(&table);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(29, 22, CResourceImages::Bitmap(kBitmapScoreSheetMask));
        p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        p.drawImage(29, 22, CResourceImages::Bitmap(kBitmapScoreSheet));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        for (int row = 0; row < 5; ++row) {
            const int y = 22 + 74 + row * 16 + 6;
            const int x = 29 + 132 + 8;
            p.drawImage(x, y, CResourceImages::Icon(199 + row));
            if (row >= 1) p.drawImage(x, y, CResourceImages::Icon(204));
            if (row >= 2) p.drawImage(x, y, CResourceImages::Icon(205));
        }
    }
    const QStringList written = {
        WritePictureSheet("icons", icons, 7, {40, 40}),
        WritePictureSheet("icons-enlarged", large, 7, {136, 136}),
        WritePictureSheet("app-icon", app, 7, {260, 260}),
        WritePictureSheet("call-images", {Enlarged(CResourceImages::Bitmap(142), 4)}, 1, {660, 70}),
        WritePictureSheet("score-sheet", {table}, 1, table.size()),
    };
    for (const QString& path : written) {
        ASSERT_FALSE(path.isEmpty());
        EXPECT_GT(QFileInfo(path).size(), 500);
    }
}
