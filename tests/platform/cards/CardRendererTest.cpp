// The card renderer's drawing contract: sizes, modes, the rectangle it keeps
// to, and the pictures it keeps.
#include "platform/cards/CardRenderer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

const QColor kTable(0, 128, 0);
constexpr uint32_t kTableRef = 0x008000;
constexpr uint32_t kWhiteRef = 0xFFFFFF;

QImage Table(int width = 200, int height = 200) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
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
    const QRgb table = kTable.rgba();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != table) {
                ++c.count;
                c.box = c.box.united(QRect(x, y, 1, 1));
            }
    return c;
}

} // namespace

TEST(CardRendererSize, InitReportsTheStandardSize) {
    CCardRenderer renderer;
    int width = 0, height = 0;
    EXPECT_TRUE(renderer.Init(&width, &height));
    EXPECT_EQ(width, 71);
    EXPECT_EQ(height, 96);
    EXPECT_EQ(renderer.StandardSize(), QSize(71, 96));
}

TEST(CardRendererSize, DrawCoversExactlyTheStandardRectangle) {
    CCardRenderer renderer;
    QImage table = Table();
    QPainter painter(&table);
    ASSERT_TRUE(renderer.Draw(painter, 20, 30, 0, CCardRenderer::kModeFace, kWhiteRef));
    painter.end();
    const Changed c = ChangedPixels(table);
    EXPECT_EQ(c.box, QRect(20, 30, 71, 96));
    // The rounded corners leave the table showing; the middle is covered.
    EXPECT_EQ(table.pixelColor(20, 30), kTable);
    EXPECT_EQ(table.pixelColor(90, 125), kTable);
    EXPECT_NE(table.pixelColor(55, 78), kTable);
    EXPECT_GT(c.count, 71 * 96 - 40);
}

TEST(CardRendererSize, DrawExtStaysInsideOddRectangles) {
    const QRect rects[] = {{5, 7, 1, 1},    {10, 10, 2, 3},   {3, 4, 37, 53},    {0, 0, 123, 77},
                           {50, 2, 9, 190}, {1, 60, 197, 13}, {13, 17, 142, 192}};
    for (const QRect& r : rects) {
        for (int card : {0, 27, 43, 51, 54, 65}) {
            CCardRenderer renderer;
            QImage table = Table();
            QPainter painter(&table);
            const int mode = card >= 54 ? CCardRenderer::kModeBack : CCardRenderer::kModeFace;
            ASSERT_TRUE(renderer.DrawExt(painter, r.x(), r.y(), r.width(), r.height(), card, mode,
                                         kWhiteRef));
            painter.end();
            const Changed c = ChangedPixels(table);
            EXPECT_TRUE(r.contains(c.box)) << "card " << card << " in " << r.width() << "x"
                                           << r.height() << " painted outside";
            EXPECT_GT(c.count, 0) << "card " << card << " in " << r.width() << "x" << r.height();
        }
    }
}

TEST(CardRendererSize, EmptyRectanglesDrawNothing) {
    CCardRenderer renderer;
    QImage table = Table();
    QPainter painter(&table);
    EXPECT_FALSE(renderer.DrawExt(painter, 10, 10, 0, 40, 5, CCardRenderer::kModeFace, 0));
    EXPECT_FALSE(renderer.DrawExt(painter, 10, 10, 40, -1, 5, CCardRenderer::kModeFace, 0));
    EXPECT_FALSE(renderer.DrawExt(painter, 10, 10, -3, 40, 5, CCardRenderer::kModeRemove, 0));
    painter.end();
    EXPECT_EQ(ChangedPixels(table).count, 0);
}

TEST(CardRendererSize, DeviceWithPixelRatioGetsASharperPicture) {
    CCardRenderer renderer;
    QImage table(142, 192, QImage::Format_ARGB32_Premultiplied);
    table.setDevicePixelRatio(2.0);
    table.fill(kTable);
    QPainter painter(&table);
    ASSERT_TRUE(renderer.Draw(painter, 0, 0, 40, CCardRenderer::kModeFace, kWhiteRef));
    painter.end();
    // The picture was made at twice the size, not stretched from the standard one.
    EXPECT_FALSE(renderer.Picture(40, CCardRenderer::kModeFace, 142, 192).isNull());
    EXPECT_EQ(renderer.RenderCount(), 1);
    EXPECT_EQ(table.pixelColor(70, 95), renderer.Picture(40, 0, 142, 192).pixelColor(70, 95));
}

TEST(CardRendererModes, RemoveFillsTheRectangleWithTheColour) {
    CCardRenderer renderer;
    QImage table = Table();
    QPainter painter(&table);
    renderer.Draw(painter, 10, 10, 12, CCardRenderer::kModeFace, kWhiteRef);
    // 0x00BBGGRR: 0x00336699 is red 0x99, green 0x66, blue 0x33.
    EXPECT_TRUE(renderer.Draw(painter, 10, 10, 12, CCardRenderer::kModeRemove, 0x00336699));
    EXPECT_TRUE(
        renderer.DrawExt(painter, 100, 120, 33, 21, -7, CCardRenderer::kModeRemove, 0x00336699));
    painter.end();
    const QColor fill(0x99, 0x66, 0x33);
    for (int y = 0; y < table.height(); ++y) {
        for (int x = 0; x < table.width(); ++x) {
            const bool inside =
                QRect(10, 10, 71, 96).contains(x, y) || QRect(100, 120, 33, 21).contains(x, y);
            ASSERT_EQ(table.pixelColor(x, y), inside ? fill : kTable) << x << "," << y;
        }
    }
}

TEST(CardRendererModes, RemoveWithTheTableColourRestoresTheTable) {
    CCardRenderer renderer;
    QImage table = Table();
    QPainter painter(&table);
    renderer.DrawExt(painter, 40, 50, 80, 100, 30, CCardRenderer::kModeFace, kWhiteRef);
    renderer.DrawExt(painter, 40, 50, 80, 100, 30, CCardRenderer::kModeRemove, kTableRef);
    painter.end();
    EXPECT_EQ(ChangedPixels(table).count, 0);
}

TEST(CardRendererModes, HighlightInvertsTheFace) {
    CCardRenderer renderer;
    for (int card = 0; card < 52; ++card) {
        const QImage face = renderer.Picture(card, CCardRenderer::kModeFace, 71, 96);
        const QImage lit = renderer.Picture(card, CCardRenderer::kModeHighlight, 71, 96);
        ASSERT_FALSE(face.isNull());
        ASSERT_FALSE(lit.isNull());
        EXPECT_NE(face, lit) << "card " << card;
        for (const QPoint p : {QPoint(35, 48), QPoint(3, 50), QPoint(8, 8), QPoint(66, 90)}) {
            const QRgb a = face.pixel(p), b = lit.pixel(p);
            EXPECT_EQ(qRed(a) + qRed(b), 255) << "card " << card;
            EXPECT_EQ(qGreen(a) + qGreen(b), 255) << "card " << card;
            EXPECT_EQ(qBlue(a) + qBlue(b), 255) << "card " << card;
        }
        // The corners stay see-through in both.
        EXPECT_EQ(qAlpha(lit.pixel(0, 0)), 0);
    }
}

TEST(CardRendererModes, CardsTheModeCannotShowAreRefused) {
    CCardRenderer renderer;
    QImage table = Table();
    QPainter painter(&table);
    EXPECT_FALSE(renderer.Draw(painter, 0, 0, -1, CCardRenderer::kModeFace, 0));
    EXPECT_FALSE(renderer.Draw(painter, 0, 0, 52, CCardRenderer::kModeFace, 0));
    EXPECT_FALSE(renderer.Draw(painter, 0, 0, 53, CCardRenderer::kModeBack, 0));
    EXPECT_FALSE(renderer.Draw(painter, 0, 0, 66, CCardRenderer::kModeBack, 0));
    EXPECT_FALSE(renderer.Draw(painter, 0, 0, 12, CCardRenderer::kModeBack, 0));
    EXPECT_FALSE(renderer.Draw(painter, 0, 0, 12, 3, 0));
    EXPECT_FALSE(renderer.Draw(painter, 0, 0, 12, 5, 0));
    painter.end();
    EXPECT_EQ(ChangedPixels(table).count, 0);
    EXPECT_TRUE(renderer.Picture(52, CCardRenderer::kModeFace, 71, 96).isNull());
    EXPECT_TRUE(renderer.Picture(12, CCardRenderer::kModeRemove, 71, 96).isNull());
}

TEST(CardRendererModes, FaceModeWithABackCodeShowsTheBack) {
    CCardRenderer renderer;
    EXPECT_EQ(renderer.Picture(60, CCardRenderer::kModeFace, 71, 96),
              renderer.Picture(60, CCardRenderer::kModeBack, 71, 96));
}

TEST(CardRendererModes, DrawingACardAgainChangesNothing) {
    // Hands are redrawn over themselves; no edge may darken or fringe.
    CCardRenderer renderer;
    QImage once = Table(), twice = Table(), afterFlash = Table();
    {
        QPainter p(&once);
        renderer.DrawExt(p, 5, 5, 83, 117, 47, CCardRenderer::kModeFace, kWhiteRef);
    }
    {
        QPainter p(&twice);
        renderer.DrawExt(p, 5, 5, 83, 117, 47, CCardRenderer::kModeFace, kWhiteRef);
        renderer.DrawExt(p, 5, 5, 83, 117, 47, CCardRenderer::kModeFace, kWhiteRef);
    }
    {
        QPainter p(&afterFlash);
        renderer.DrawExt(p, 5, 5, 83, 117, 47, CCardRenderer::kModeHighlight, kWhiteRef);
        renderer.DrawExt(p, 5, 5, 83, 117, 47, CCardRenderer::kModeFace, kWhiteRef);
    }
    EXPECT_EQ(once, twice);
    EXPECT_EQ(once, afterFlash);
}

TEST(CardRendererCache, RepeatedDrawsReuseThePicture) {
    CCardRenderer renderer;
    QImage table = Table();
    QPainter painter(&table);
    for (int i = 0; i < 5; ++i)
        renderer.Draw(painter, i, i, 33, CCardRenderer::kModeFace, 0);
    EXPECT_EQ(renderer.RenderCount(), 1);
    EXPECT_EQ(renderer.CachedCount(), 1);
    renderer.Draw(painter, 0, 0, 33, CCardRenderer::kModeHighlight, 0);
    renderer.DrawExt(painter, 0, 0, 40, 60, 33, CCardRenderer::kModeFace, 0);
    renderer.Draw(painter, 0, 0, 55, CCardRenderer::kModeBack, 0);
    renderer.Draw(painter, 0, 0, 55, CCardRenderer::kModeFace, 0); // the same picture
    renderer.Draw(painter, 0, 0, 55, CCardRenderer::kModeRemove, 0);
    painter.end();
    EXPECT_EQ(renderer.RenderCount(), 4);
    EXPECT_EQ(renderer.CachedCount(), 4);
    renderer.Term();
    EXPECT_EQ(renderer.CachedCount(), 0);
}

TEST(CardRendererCache, KeptPictureEqualsAFreshOne) {
    CCardRenderer first, second;
    const QImage a = first.Picture(17, CCardRenderer::kModeFace, 50, 70);
    const QImage again = first.Picture(17, CCardRenderer::kModeFace, 50, 70);
    const QImage fresh = second.Picture(17, CCardRenderer::kModeFace, 50, 70);
    EXPECT_EQ(first.RenderCount(), 1);
    EXPECT_EQ(a, again);
    EXPECT_EQ(a, fresh);
}

TEST(CardRendererCache, StaysBoundedUnderManySizes) {
    CCardRenderer renderer;
    for (int w = 10; w < 10 + 700; ++w)
        renderer.Picture(3, CCardRenderer::kModeFace, w, 20);
    EXPECT_LE(renderer.CachedCount(), 512);
    EXPECT_GT(renderer.CachedCount(), 0);
}

TEST(CardRendererColour, ColourRefIsBlueGreenRed) {
    EXPECT_EQ(CCardRenderer::ColourFromRef(0x008000), QColor(0, 128, 0));
    EXPECT_EQ(CCardRenderer::ColourFromRef(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(CCardRenderer::ColourFromRef(0x000000FF), QColor(255, 0, 0));
}
