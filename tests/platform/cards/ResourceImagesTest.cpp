// The program's numbered icons and bitmaps: each one exists at its size, draws
// something, and keeps to the places where the program puts it.
#include "resources/ResourceImages.h"
#include "resources/ResourceIds.h"
#include "tests/platform/cards/PictureSheet.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <map>
#include <set>

using namespace resid;

namespace {

// Every icon the program draws, at the size it is drawn.
std::map<int, int> IconSizes() {
    std::map<int, int> sizes = {{128, 32}, {206, 32}};
    for (int base : {161, 171, 181}) // the suit lists: normal, selected, disabled
        for (int i = 0; i < 5; ++i)
            sizes[base + i] = 20;
    for (int id = 192; id <= 195; ++id) // the turn markers
        sizes[id] = 32;
    for (int id = 199; id <= 205; ++id) // the contract suits and double marks
        sizes[id] = 16;
    return sizes;
}

int Opaque(const QImage& image, int threshold = 128) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) >= threshold;
    return n;
}

QByteArray BytesOf(const QImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.constBits()),
                      static_cast<qsizetype>(image.sizeInBytes()));
}

} // namespace

TEST(ResourceImages, EveryNumberedPictureExistsAtItsSizeAndNoOther) {
    const auto sizes = IconSizes();
    for (const auto& [id, size] : sizes) {
        EXPECT_EQ(CResourceImages::IconSize(id), QSize(size, size)) << id;
        const QImage icon = CResourceImages::Icon(id);
        ASSERT_EQ(icon.size(), QSize(size, size)) << id;
        EXPECT_TRUE(icon.hasAlphaChannel()) << id;
        EXPECT_GE(Opaque(icon), 6) << "icon " << id << " is empty";
    }
    EXPECT_EQ(CResourceImages::IconIds().size(), sizes.size());
    for (int id = 0; id < 260; ++id)
        EXPECT_EQ(CResourceImages::HasIcon(id), sizes.count(id) == 1) << id;
    EXPECT_TRUE(CResourceImages::Icon(129).isNull());
    const std::map<int, QSize> bitmaps = {{142, {162, 16}}, {199, {402, 376}}, {200, {402, 376}}};
    for (const auto& [id, size] : bitmaps) {
        const QImage bitmap = CResourceImages::Bitmap(id);
        EXPECT_EQ(bitmap.size(), size) << id;
        EXPECT_FALSE(bitmap.hasAlphaChannel()) << id;
    }
    EXPECT_EQ(CResourceImages::BitmapIds().size(), bitmaps.size());
    for (int id : {0, 128, 141, 143, 198, 201})
        EXPECT_TRUE(CResourceImages::Bitmap(id).isNull()) << id;
    EXPECT_TRUE(CResourceImages::CallImage(-1).isNull());
    EXPECT_TRUE(CResourceImages::CallImage(9).isNull());
}

TEST(ResourceImages, SuitListIconsDifferByItemAndState) {
    std::set<QByteArray> seen;
    for (int base : {161, 171, 181})
        for (int item = 0; item < 5; ++item)
            seen.insert(BytesOf(CResourceImages::Icon(base + item)));
    EXPECT_EQ(seen.size(), 15u);
    auto count = [](const QImage& icon, auto test) {
        int n = 0;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                n += test(icon.pixelColor(x, y));
        return n;
    };
    for (int id = 181; id <= 185; ++id) // disabled items are grey
        EXPECT_EQ(count(CResourceImages::Icon(id),
                        [](QColor c) {
                            return c.alpha() > 0 &&
                                   std::max({c.red(), c.green(), c.blue()}) -
                                           std::min({c.red(), c.green(), c.blue()}) >=
                                       12;
                        }),
                  0)
            << id;
    for (int id = 171; id <= 175; ++id) // selected items sit on a filled highlight
        EXPECT_GT(Opaque(CResourceImages::Icon(id)), 300) << id;
    auto reddish = [](QColor c) { return c.alpha() == 255 && c.red() > 150 && c.green() < 80; };
    EXPECT_GT(count(CResourceImages::Icon(162), reddish), 40);
    EXPECT_GT(count(CResourceImages::Icon(163), reddish), 40);
    EXPECT_EQ(count(CResourceImages::Icon(161), reddish), 0);
    EXPECT_EQ(count(CResourceImages::Icon(164), reddish), 0);
}

TEST(ResourceImages, MarkersKeepToTheirPlaces) {
    // The table clears the 30 x 30 square one pixel right of and below a turn
    // marker's position, so the marker's outer ring of pixels must stay empty.
    std::set<QRgb> middles;
    for (int id = 192; id <= 195; ++id) {
        const QImage icon = CResourceImages::Icon(id);
        for (int i = 0; i < 32; ++i)
            EXPECT_EQ(qAlpha(icon.pixel(i, 0)) + qAlpha(icon.pixel(0, i)) +
                          qAlpha(icon.pixel(i, 31)) + qAlpha(icon.pixel(31, i)),
                      0)
                << id;
        EXPECT_GT(Opaque(icon), 400) << id;
        middles.insert(icon.pixel(10, 16));
    }
    EXPECT_EQ(middles.size(), 4u) << "blink phases and person / computer markers differ";
    // Double marks do not hide the contract suit, nor each other.
    const QImage doubled = CResourceImages::Icon(204), redoubled = CResourceImages::Icon(205);
    auto ink = [](const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)) > 128; };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            EXPECT_FALSE(ink(doubled, x, y) && ink(redoubled, x, y));
            for (int suit = 199; suit <= 203; ++suit)
                EXPECT_FALSE(ink(CResourceImages::Icon(suit), x, y) &&
                             (ink(doubled, x, y) || ink(redoubled, x, y)))
                    << suit;
        }
    // The trump marker is drawn at (card x + card width / 2 - 16, card y): its
    // picture is centred on the middle column, in the icon's upper part.
    const QImage marker = CResourceImages::Icon(206);
    QRect box;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (qAlpha(marker.pixel(x, y)) > 128) box = box.united(QRect(x, y, 1, 1));
    EXPECT_NEAR((box.left() + box.right() + 1) / 2.0, 16.0, 1.0);
    EXPECT_GE(box.width(), 20);
    EXPECT_LE(box.bottom(), 28);
}

TEST(ResourceImages, AppIconAtEverySize) {
    const QList<QSize> sizes = CResourceImages::AppIcon().availableSizes();
    std::set<QByteArray> seen;
    for (int size : CResourceImages::AppIconSizes()) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image = CResourceImages::Icon(128, size);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_GT(Opaque(image), size * size / 2) << size;
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 64) << "rounded corners: " << size;
        seen.insert(BytesOf(image));
    }
    EXPECT_EQ(seen.size(), CResourceImages::AppIconSizes().size());
    EXPECT_EQ(CResourceImages::Icon(128), CResourceImages::Icon(128, 32));
}

TEST(ResourceImages, CallImagesOnWhite) {
    const QImage strip = CResourceImages::Bitmap(kBitmapCallImages);
    for (int i = 0; i < kCallImageCount; ++i) {
        const QImage image = CResourceImages::CallImage(i);
        ASSERT_EQ(image.size(), QSize(18, 16));
        // Image 8 (an automatic pass or a filler row) is blank; all others show something.
        if (i == 8) {
            EXPECT_EQ(Opaque(image, 1), 0);
        } else {
            EXPECT_GT(Opaque(image), 10) << i;
        }
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 18; ++x)
                ASSERT_TRUE((strip.pixel(i * 18 + x, y) & 0xFFFFFF) != 0xFFFFFF ||
                            qAlpha(image.pixel(x, y)) == 0)
                    << "white is see-through: " << i;
    }
}

TEST(ResourceImages, ScoreSheetAndMaskMakeOnePicture) {
    const QImage sheet = CResourceImages::Bitmap(kBitmapScoreSheet);
    const QImage mask = CResourceImages::Bitmap(kBitmapScoreSheetMask);
    for (int y = 0; y < sheet.height();
         ++y) // where the mask keeps the table, the sheet adds nothing
        for (int x = 0; x < sheet.width(); ++x)
            ASSERT_TRUE((mask.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF ||
                        (sheet.pixel(x, y) & 0xFFFFFF) == 0)
                << x << "," << y;
    EXPECT_EQ(mask.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(mask.pixel(201, 188) & 0xFFFFFF, 0u);
    EXPECT_GT(qGray(sheet.pixel(30, 80)), 200);
    const int shadow = qGray(mask.pixel(395, 188)); // darkens the table without hiding it
    EXPECT_GT(shadow, 40);
    EXPECT_LT(shadow, 250);
    // Drawing the pair as the view does (AND, then OR) gives the composite.
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
    QPainter(&composed).drawImage(0, 0, CResourceImages::ScoreSheet());
    int far = 0;
    for (int y = 0; y < 376; ++y)
        for (int x = 0; x < 402; ++x) {
            const QRgb a = table.pixel(x, y), b = composed.pixel(x, y);
            far += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                       std::abs(qBlue(a) - qBlue(b)) >
                   90;
        }
    EXPECT_LT(far, 402 * 376 / 200);
    std::vector<QImage> icons;
    for (const auto& [id, size] : IconSizes())
        icons.push_back(CResourceImages::Icon(id).scaled(size * 4, size * 4));
    EXPECT_FALSE(WritePictureSheet("icons-enlarged", icons, 7, {136, 136}).isEmpty());
    EXPECT_FALSE(WritePictureSheet("score-sheet", {table}, 1, table.size()).isEmpty());
}
