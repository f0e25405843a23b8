// The card renderer: every face and back drawn and distinct, the rectangle a
// drawing keeps to and refused draws.
#include "platform/cards/CardRenderer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>

namespace {

const QColor kTable(0, 128, 0);
constexpr uint32_t kWhiteRef = 0xFFFFFF;
constexpr int kFace = CCardRenderer::kModeFace, kBack = CCardRenderer::kModeBack;

// Paints with `draw` on a fresh 200 x 200 table and returns the table.
template <typename Draw> QImage Painted(Draw draw) {
    QImage table(200, 200, QImage::Format_ARGB32_Premultiplied);
    table.fill(kTable);
    QPainter painter(&table);
    draw(painter);
    painter.end();
    return table;
}

// Pixels of `image` that differ from the table colour, and their bounding box.
struct Changed {
    int count = 0;
    QRect box;
};
Changed ChangedPixels(const QImage& image) {
    Changed c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kTable.rgba()) {
                ++c.count;
                c.box = c.box.united(QRect(x, y, 1, 1));
            }
    return c;
}

// Opaque pixels other than white, off a 3-pixel border.
int Inked(const QImage& image) {
    int n = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            n += qAlpha(image.pixel(x, y)) == 255 && (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    return n;
}

} // namespace

TEST(CardRenderer, EveryFaceAndBackIsDrawnAndDistinct) {
    // Backs keep their look when small.
    const struct {
        int first, last, mode;
        QSize size;
        int inked; // at least this many pixels inked on every card
    } sets[] = {{0, 51, kFace, {71, 96}, 71 * 96 / 100},
                {0, 51, kFace, {36, 48}, 36 * 48 / 100},
                {54, 65, kBack, {71, 96}, 71 * 96 / 2},
                {54, 65, kBack, {25, 35}, 0}};
    CCardRenderer renderer;
    for (const auto& s : sets) {
        SCOPED_TRACE(testing::Message()
                     << s.first << " " << s.size.width() << "x" << s.size.height());
        std::set<QByteArray> distinct;
        for (int card = s.first; card <= s.last; ++card) {
            const QImage p = renderer.Picture(card, s.mode, s.size.width(), s.size.height());
            ASSERT_EQ(p.size(), s.size) << card;
            EXPECT_GT(Inked(p), s.inked) << card;
            distinct.insert(QByteArray(reinterpret_cast<const char*>(p.constBits()),
                                       static_cast<qsizetype>(p.sizeInBytes())));
        }
        EXPECT_EQ(distinct.size(), static_cast<size_t>(s.last - s.first + 1));
    }
}

TEST(CardRenderer, DrawsKeepToTheirRectangle) {
    CCardRenderer renderer;
    int width = 0, height = 0;
    EXPECT_TRUE(renderer.Init(&width, &height));
    EXPECT_EQ(QSize(width, height), QSize(71, 96));
    // The standard size covers its rectangle but for the rounded corners.
    const Changed standard = ChangedPixels(
        Painted([&](QPainter& p) { ASSERT_TRUE(renderer.Draw(p, 20, 30, 0, kFace, kWhiteRef)); }));
    EXPECT_EQ(standard.box, QRect(20, 30, 71, 96));
    EXPECT_GT(standard.count, 71 * 96 - 40);
    for (const QRect& r :
         {QRect(5, 7, 1, 1), QRect(3, 4, 37, 53), QRect(50, 2, 9, 190), QRect(1, 60, 197, 13)})
        for (int card : {0, 43, 65}) {
            SCOPED_TRACE(testing::Message() << card << " in " << r.width() << "x" << r.height());
            const Changed c = ChangedPixels(Painted([&](QPainter& p) {
                ASSERT_TRUE(renderer.DrawExt(p, r.x(), r.y(), r.width(), r.height(), card,
                                             card >= 54 ? kBack : kFace, kWhiteRef));
            }));
            EXPECT_TRUE(r.contains(c.box));
            EXPECT_GT(c.count, 0);
        }
}

TEST(CardRenderer, RefusedDrawsPaintNothing) {
    CCardRenderer renderer;
    const QImage table = Painted([&](QPainter& p) {
        EXPECT_FALSE(renderer.DrawExt(p, 10, 10, 0, 40, 5, kFace, 0));
        EXPECT_FALSE(renderer.DrawExt(p, 10, 10, 40, -1, 5, kFace, 0));
        EXPECT_FALSE(renderer.DrawExt(p, 10, 10, -3, 40, 5, CCardRenderer::kModeRemove, 0));
        const std::pair<int, int> refused[] = {
            {-1, kFace}, {52, kFace}, {66, kBack}, {12, kBack}, {12, 5}};
        for (const auto& [card, mode] : refused)
            EXPECT_FALSE(renderer.Draw(p, 0, 0, card, mode, 0)) << card << " mode " << mode;
    });
    EXPECT_EQ(ChangedPixels(table).count, 0);
    EXPECT_TRUE(renderer.Picture(52, kFace, 71, 96).isNull());
}
