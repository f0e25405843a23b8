// The card renderer's drawing contract: sizes, modes and the rectangle it keeps to.
#include "platform/cards/CardRenderer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

const QColor kTable(0, 128, 0);
constexpr uint32_t kWhiteRef = 0xFFFFFF;

QImage Table() {
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(kTable);
    return image;
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

// Paints with `draw` on a fresh table and returns the table.
template <typename Draw> QImage Painted(Draw draw) {
    QImage table = Table();
    QPainter painter(&table);
    draw(painter);
    painter.end();
    return table;
}

} // namespace

TEST(CardRenderer, DrawCoversExactlyTheStandardRectangle) {
    CCardRenderer renderer;
    int width = 0, height = 0;
    EXPECT_TRUE(renderer.Init(&width, &height));
    EXPECT_EQ(QSize(width, height), QSize(71, 96));
    const QImage table = Painted([&](QPainter& p) {
        ASSERT_TRUE(renderer.Draw(p, 20, 30, 0, CCardRenderer::kModeFace, kWhiteRef));
    });
    const Changed c = ChangedPixels(table);
    EXPECT_EQ(c.box, QRect(20, 30, 71, 96));
    // The rounded corners leave the table showing; the middle is covered.
    EXPECT_EQ(table.pixelColor(20, 30), kTable);
    EXPECT_EQ(table.pixelColor(90, 125), kTable);
    EXPECT_GT(c.count, 71 * 96 - 40);
}

TEST(CardRenderer, DrawExtStaysInsideOddRectangles) {
    const QRect rects[] = {{5, 7, 1, 1}, {3, 4, 37, 53}, {50, 2, 9, 190}, {1, 60, 197, 13}};
    for (const QRect& r : rects)
        for (int card : {0, 43, 65}) {
            CCardRenderer renderer;
            const int mode = card >= 54 ? CCardRenderer::kModeBack : CCardRenderer::kModeFace;
            const Changed c = ChangedPixels(Painted([&](QPainter& p) {
                ASSERT_TRUE(renderer.DrawExt(p, r.x(), r.y(), r.width(), r.height(), card, mode,
                                             kWhiteRef));
            }));
            EXPECT_TRUE(r.contains(c.box)) << card << " in " << r.width() << "x" << r.height();
            EXPECT_GT(c.count, 0) << card << " in " << r.width() << "x" << r.height();
        }
}

TEST(CardRenderer, RefusedDrawsPaintNothing) {
    CCardRenderer renderer;
    const QImage table = Painted([&](QPainter& p) {
        EXPECT_FALSE(renderer.DrawExt(p, 10, 10, 0, 40, 5, CCardRenderer::kModeFace, 0));
        EXPECT_FALSE(renderer.DrawExt(p, 10, 10, 40, -1, 5, CCardRenderer::kModeFace, 0));
        EXPECT_FALSE(renderer.DrawExt(p, 10, 10, -3, 40, 5, CCardRenderer::kModeRemove, 0));
        const std::pair<int, int> refused[] = {{-1, CCardRenderer::kModeFace},
                                               {52, CCardRenderer::kModeFace},
                                               {66, CCardRenderer::kModeBack},
                                               {12, CCardRenderer::kModeBack},
                                               {12, 5}};
        for (const auto& [card, mode] : refused)
            EXPECT_FALSE(renderer.Draw(p, 0, 0, card, mode, 0)) << card << " mode " << mode;
    });
    EXPECT_EQ(ChangedPixels(table).count, 0);
    EXPECT_TRUE(renderer.Picture(52, CCardRenderer::kModeFace, 71, 96).isNull());
}

TEST(CardRenderer, RemoveFillsWithTheColour) {
    CCardRenderer renderer;
    const QImage table = Painted([&](QPainter& p) {
        renderer.Draw(p, 10, 10, 12, CCardRenderer::kModeFace, kWhiteRef);
        // 0x00BBGGRR: 0x00336699 is red 0x99, green 0x66, blue 0x33.
        EXPECT_TRUE(renderer.Draw(p, 10, 10, 12, CCardRenderer::kModeRemove, 0x00336699));
        EXPECT_TRUE(
            renderer.DrawExt(p, 100, 120, 33, 21, -7, CCardRenderer::kModeRemove, 0x00336699));
    });
    for (int y = 0; y < table.height(); ++y)
        for (int x = 0; x < table.width(); ++x) {
            const bool inside =
                QRect(10, 10, 71, 96).contains(x, y) || QRect(100, 120, 33, 21).contains(x, y);
            ASSERT_EQ(table.pixelColor(x, y), inside ? QColor(0x99, 0x66, 0x33) : kTable)
                << x << "," << y;
        }
}

TEST(CardRenderer, DrawingACardAgainChangesNothing) {
    // Hands are redrawn over themselves; no edge may darken or fringe.
    CCardRenderer renderer;
    auto draw = [&](std::initializer_list<int> modes) {
        return Painted([&](QPainter& p) {
            for (int mode : modes)
                renderer.DrawExt(p, 5, 5, 83, 117, 47, mode, kWhiteRef);
        });
    };
    const QImage once = draw({CCardRenderer::kModeFace});
    EXPECT_EQ(draw({CCardRenderer::kModeFace, CCardRenderer::kModeFace}), once);
    EXPECT_EQ(draw({CCardRenderer::kModeHighlight, CCardRenderer::kModeFace}), once);
}
