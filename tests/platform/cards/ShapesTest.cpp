// The shapes the cards and icons are built from: the stroked capitals and the
// four suit signs.
#include "platform/cards/StrokeFont.h"
#include "platform/cards/SuitShapes.h"
#include "tests/platform/cards/PictureSheet.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

TEST(StrokeFont, EveryCapitalAndDigitStaysInItsCell) {
    const QString all = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    for (QChar c : all) {
        const QPainterPath glyph = CStrokeFont::Glyph(c);
        ASSERT_FALSE(glyph.isEmpty()) << c.toLatin1();
        const QRectF box = glyph.boundingRect();
        EXPECT_GE(box.left(), -0.01) << c.toLatin1();
        EXPECT_GE(box.top(), -0.01) << c.toLatin1();
        EXPECT_LE(box.right(), CStrokeFont::GlyphWidth(c) + 0.35) << c.toLatin1();
        EXPECT_LE(box.bottom(), CStrokeFont::kCapHeight + 0.35) << c.toLatin1();
        // Every glyph uses most of the cap height.
        EXPECT_GT(box.height(), 0.7 * CStrokeFont::kCapHeight) << c.toLatin1();
    }
    EXPECT_EQ(CStrokeFont::Glyph(QChar('a')), CStrokeFont::Glyph(QChar('A')));
    EXPECT_TRUE(CStrokeFont::Glyph(QChar('#')).isEmpty());
    EXPECT_TRUE(CStrokeFont::Glyph(QChar(' ')).isEmpty());
}

TEST(StrokeFont, TextAdvancesGlyphByGlyph) {
    EXPECT_DOUBLE_EQ(CStrokeFont::TextWidth(""), 0.0);
    EXPECT_DOUBLE_EQ(CStrokeFont::TextWidth("K"), 6.0);
    EXPECT_DOUBLE_EQ(CStrokeFont::TextWidth("NT"), 12.0 + CStrokeFont::kGap);
    const QRectF box = CStrokeFont::TextPath("10").boundingRect();
    EXPECT_GT(box.left(), 0.5); // the 1 starts with its flag, right of the cell's edge
    EXPECT_NEAR(box.right(), CStrokeFont::TextWidth("10"), 0.35);
}

TEST(StrokeFont, DrawnTextIsInkOfTheGivenHeight) {
    QImage image(100, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        CStrokeFont::Draw(p, 10, 10, 20, "HI", Qt::black);
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ink = ink.united(QRect(x, y, 1, 1));
    EXPECT_NEAR(ink.top(), 10, 2);
    EXPECT_NEAR(ink.bottom(), 30, 2);
    EXPECT_NEAR(ink.left(), 10, 2);
    // The I's bars end short of its cell; the stroke adds half its width.
    const double right = CStrokeFont::TextPath("HI").boundingRect().right() + 0.75;
    EXPECT_NEAR(ink.right(), 10 + right * 2, 2);
}

TEST(SuitShapes, FourDistinctSignsInTheUnitBox) {
    std::vector<QImage> drawn;
    for (int suit = 0; suit < 4; ++suit) {
        const QRectF box = CSuitShapes::Path(suit).boundingRect();
        EXPECT_GE(box.left(), -0.5) << suit;
        EXPECT_GE(box.top(), -0.5) << suit;
        EXPECT_LE(box.right(), 0.5) << suit;
        EXPECT_LE(box.bottom(), 0.5) << suit;
        EXPECT_GT(box.height(), 0.95) << suit;
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        CSuitShapes::Draw(p, suit, QPointF(20, 20), 36, Qt::black);
        p.end();
        // Filled, not just outlined: the middle of every sign is ink.
        EXPECT_EQ(qAlpha(image.pixel(20, 20)), 255) << suit;
        drawn.push_back(image);
    }
    for (size_t a = 0; a < drawn.size(); ++a)
        for (size_t b = a + 1; b < drawn.size(); ++b)
            EXPECT_NE(drawn[a], drawn[b]);
    EXPECT_TRUE(CSuitShapes::Path(4).isEmpty());
    EXPECT_TRUE(CSuitShapes::Path(-1).isEmpty());
}

TEST(SuitShapes, ClubIsOneSolidShape) {
    // The club's leaves and stem overlap; the overlaps must be ink, not holes.
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    CSuitShapes::Draw(p, 0, QPointF(50, 50), 100, Qt::black);
    p.end();
    for (const QPoint q : {QPoint(50, 50), QPoint(50, 30), QPoint(38, 52), QPoint(62, 52),
                           QPoint(50, 70), QPoint(50, 95)})
        EXPECT_EQ(qAlpha(image.pixel(q)), 255) << q.x() << "," << q.y();
}

TEST(SuitShapes, RedAndBlackInks) {
    EXPECT_TRUE(CSuitShapes::IsRed(1));
    EXPECT_TRUE(CSuitShapes::IsRed(2));
    EXPECT_FALSE(CSuitShapes::IsRed(0));
    EXPECT_FALSE(CSuitShapes::IsRed(3));
    EXPECT_GT(CSuitShapes::Ink(2).red(), 150);
    EXPECT_LT(CSuitShapes::Ink(3).red(), 60);
}

TEST(ShapeSheets, WriteTheFontAndTheSuits) {
    QImage image(720, 150, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        CStrokeFont::Draw(p, 10, 10, 30, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", Qt::black);
        CStrokeFont::Draw(p, 10, 55, 30, "0123456789 10 NT", QColor(31, 58, 147));
        for (int suit = 0; suit < 4; ++suit)
            CSuitShapes::Draw(p, suit, QPointF(440 + suit * 70, 75), 56, CSuitShapes::Ink(suit));
        CStrokeFont::Draw(p, 10, 110, 12, "SMALL TEXT 7 8 9 10 J Q K A", Qt::black);
    }
    const QString path = WritePictureSheet("shapes", {image}, 1, image.size());
    ASSERT_FALSE(path.isEmpty());
}
