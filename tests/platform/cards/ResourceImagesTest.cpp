// The program's numbered icons and bitmaps: each one exists at its size, draws
// something, and keeps to the places where the program puts it.
#include "resources/ResourceImages.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <map>

using namespace resid;

TEST(ResourceImages, EveryNumberedPictureExistsAtItsSizeAndNoOther) {
    // Every icon the program draws, at the size it is drawn.
    std::map<int, int> sizes = {{128, 32}, {206, 32}};
    for (int base : {161, 171, 181}) // the suit lists: normal, selected, disabled
        for (int i = 0; i < 5; ++i)
            sizes[base + i] = 20;
    for (int id = 192; id <= 195; ++id) // the turn markers
        sizes[id] = 32;
    for (int id = 199; id <= 205; ++id) // the contract suits and double marks
        sizes[id] = 16;
    for (const auto& [id, size] : sizes) {
        EXPECT_EQ(CResourceImages::IconSize(id), QSize(size, size)) << id;
        const QImage icon = CResourceImages::Icon(id);
        ASSERT_EQ(icon.size(), QSize(size, size)) << id;
        EXPECT_TRUE(icon.hasAlphaChannel()) << id;
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                opaque += qAlpha(icon.pixel(x, y)) >= 128;
        EXPECT_GE(opaque, 6) << "icon " << id << " is empty";
    }
    for (int id = 0; id < 260; ++id)
        EXPECT_EQ(CResourceImages::HasIcon(id), sizes.count(id) == 1) << id;
    const std::map<int, QSize> bitmaps = {{142, {162, 16}}, {199, {402, 376}}, {200, {402, 376}}};
    for (const auto& [id, size] : bitmaps) {
        const QImage bitmap = CResourceImages::Bitmap(id);
        EXPECT_EQ(bitmap.size(), size) << id;
        EXPECT_FALSE(bitmap.hasAlphaChannel()) << id;
    }
    EXPECT_EQ(CResourceImages::BitmapIds().size(), bitmaps.size());
}

TEST(ResourceImages, ScoreSheetAndMaskMakeOnePicture) {
    const QImage sheet = CResourceImages::Bitmap(kBitmapScoreSheet);
    const QImage mask = CResourceImages::Bitmap(kBitmapScoreSheetMask);
    // Where the mask keeps the table, the sheet adds nothing.
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            ASSERT_TRUE((mask.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF ||
                        (sheet.pixel(x, y) & 0xFFFFFF) == 0)
                << x << "," << y;
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
}
