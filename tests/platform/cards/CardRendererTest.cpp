// The card renderer's drawing contract: sizes, modes, the rectangle it keeps
// to, and the pictures it keeps.
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
    const QRect rects[] = {{5, 7, 1, 1},    {10, 10, 2, 3},   {3, 4, 37, 53},    {0, 0, 123, 77},
                           {50, 2, 9, 190}, {1, 60, 197, 13}, {13, 17, 142, 192}};
    for (const QRect& r : rects)
        for (int card : {0, 27, 43, 51, 54, 65}) {
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
                                               {53, CCardRenderer::kModeBack},
                                               {66, CCardRenderer::kModeBack},
                                               {12, CCardRenderer::kModeBack},
                                               {12, 3},
                                               {12, 5}};
        for (const auto& [card, mode] : refused)
            EXPECT_FALSE(renderer.Draw(p, 0, 0, card, mode, 0)) << card << " mode " << mode;
    });
    EXPECT_EQ(ChangedPixels(table).count, 0);
    EXPECT_TRUE(renderer.Picture(52, CCardRenderer::kModeFace, 71, 96).isNull());
}

TEST(CardRenderer, RemoveFillsWithTheColourAndTheTableColourRestoresIt) {
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
    EXPECT_EQ(ChangedPixels(Painted([&](QPainter& p) {
                  renderer.DrawExt(p, 40, 50, 80, 100, 30, CCardRenderer::kModeFace, kWhiteRef);
                  renderer.DrawExt(p, 40, 50, 80, 100, 30, CCardRenderer::kModeRemove, 0x008000);
              })).count,
              0);
}

TEST(CardRenderer, HighlightInvertsTheFace) {
    CCardRenderer renderer;
    for (int card = 0; card < 52; ++card) {
        const QImage face = renderer.Picture(card, CCardRenderer::kModeFace, 71, 96);
        const QImage lit = renderer.Picture(card, CCardRenderer::kModeHighlight, 71, 96);
        for (const QPoint p : {QPoint(35, 48), QPoint(3, 50), QPoint(8, 8), QPoint(66, 90)}) {
            const QRgb a = face.pixel(p), b = lit.pixel(p);
            EXPECT_EQ(qRed(a) + qRed(b), 255) << "card " << card;
            EXPECT_EQ(qGreen(a) + qGreen(b), 255) << "card " << card;
            EXPECT_EQ(qBlue(a) + qBlue(b), 255) << "card " << card;
        }
        EXPECT_EQ(qAlpha(lit.pixel(0, 0)), 0) << "the corners stay see-through";
    }
    EXPECT_EQ(renderer.Picture(60, CCardRenderer::kModeFace, 71, 96),
              renderer.Picture(60, CCardRenderer::kModeBack, 71, 96))
        << "face mode with a back code shows the back";
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

TEST(CardRenderer, PicturesAreKeptAndBounded) {
    CCardRenderer renderer;
    Painted([&](QPainter& p) {
        for (int i = 0; i < 5; ++i)
            renderer.Draw(p, i, i, 33, CCardRenderer::kModeFace, 0);
        EXPECT_EQ(renderer.RenderCount(), 1);
        renderer.Draw(p, 0, 0, 33, CCardRenderer::kModeHighlight, 0);
        renderer.DrawExt(p, 0, 0, 40, 60, 33, CCardRenderer::kModeFace, 0);
        renderer.Draw(p, 0, 0, 55, CCardRenderer::kModeBack, 0);
        renderer.Draw(p, 0, 0, 55, CCardRenderer::kModeFace, 0); // the same picture
        renderer.Draw(p, 0, 0, 55, CCardRenderer::kModeRemove, 0);
    });
    EXPECT_EQ(renderer.RenderCount(), 4);
    EXPECT_EQ(renderer.CachedCount(), 4);
    renderer.Term();
    EXPECT_EQ(renderer.CachedCount(), 0);
    CCardRenderer fresh;
    EXPECT_EQ(renderer.Picture(17, CCardRenderer::kModeFace, 50, 70),
              fresh.Picture(17, CCardRenderer::kModeFace, 50, 70));
    for (int w = 10; w < 10 + 700; ++w)
        renderer.Picture(3, CCardRenderer::kModeFace, w, 20);
    EXPECT_LE(renderer.CachedCount(), 512);
    EXPECT_GT(renderer.CachedCount(), 0);
}

TEST(CardRenderer, DeviceWithPixelRatioGetsASharperPicture) {
    CCardRenderer renderer;
    QImage table(142, 192, QImage::Format_ARGB32_Premultiplied);
    table.setDevicePixelRatio(2.0);
    table.fill(kTable);
    QPainter painter(&table);
    ASSERT_TRUE(renderer.Draw(painter, 0, 0, 40, CCardRenderer::kModeFace, kWhiteRef));
    painter.end();
    EXPECT_EQ(renderer.RenderCount(), 1);
    EXPECT_EQ(table.pixelColor(70, 95), renderer.Picture(40, 0, 142, 192).pixelColor(70, 95))
        << "made at twice the size, not stretched from the standard one";
    EXPECT_EQ(renderer.RenderCount(), 1);
    EXPECT_EQ(CCardRenderer::ColourFromRef(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(CCardRenderer::ColourFromRef(0x000000FF), QColor(255, 0, 0));
}
