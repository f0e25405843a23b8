// The shapes the cards and icons are built from: the stroked capitals and the
// four suit signs.
#include "platform/cards/StrokeFont.h"
#include "platform/cards/SuitShapes.h"
#include "tests/platform/cards/PictureSheet.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

TEST(StrokeFont, EveryCapitalAndDigitStaysInItsCell) {
    for (QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
        const QRectF box = CStrokeFont::Glyph(c).boundingRect();
        ASSERT_FALSE(box.isEmpty()) << c.toLatin1();
        EXPECT_GE(box.left(), -0.01) << c.toLatin1();
        EXPECT_GE(box.top(), -0.01) << c.toLatin1();
        EXPECT_LE(box.right(), CStrokeFont::GlyphWidth(c) + 0.35) << c.toLatin1();
        EXPECT_LE(box.bottom(), CStrokeFont::kCapHeight + 0.35) << c.toLatin1();
        EXPECT_GT(box.height(), 0.7 * CStrokeFont::kCapHeight) << c.toLatin1();
    }
    EXPECT_EQ(CStrokeFont::Glyph(QChar('a')), CStrokeFont::Glyph(QChar('A')));
    EXPECT_TRUE(CStrokeFont::Glyph(QChar('#')).isEmpty());
    EXPECT_DOUBLE_EQ(CStrokeFont::TextWidth("NT"), 12.0 + CStrokeFont::kGap);
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
    EXPECT_NEAR(ink.right(), 10 + (CStrokeFont::TextPath("HI").boundingRect().right() + 0.75) * 2,
                2);
}

TEST(SuitShapes, FourDistinctSolidSignsInTheUnitBox) {
    std::vector<QImage> drawn;
    for (int suit = 0; suit < 4; ++suit) {
        const QRectF box = CSuitShapes::Path(suit).boundingRect();
        EXPECT_TRUE(QRectF(-0.5, -0.5, 1, 1).contains(box)) << suit;
        EXPECT_GT(box.height(), 0.95) << suit;
        QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        CSuitShapes::Draw(p, suit, QPointF(50, 50), 100, Qt::black);
        p.end();
        EXPECT_EQ(qAlpha(image.pixel(50, 50)), 255) << "filled, not outlined: " << suit;
        for (const QImage& other : drawn)
            EXPECT_NE(image, other) << suit;
        drawn.push_back(image);
    }
    // The club's leaves and stem overlap; the overlaps must be ink, not holes.
    for (const QPoint q :
         {QPoint(50, 30), QPoint(38, 52), QPoint(62, 52), QPoint(50, 70), QPoint(50, 95)})
        EXPECT_EQ(qAlpha(drawn[0].pixel(q)), 255) << q.x() << "," << q.y();
    EXPECT_TRUE(CSuitShapes::Path(4).isEmpty());
    EXPECT_TRUE(CSuitShapes::IsRed(1) && CSuitShapes::IsRed(2));
    EXPECT_FALSE(CSuitShapes::IsRed(0) || CSuitShapes::IsRed(3));
    EXPECT_GT(CSuitShapes::Ink(2).red(), 150);
    EXPECT_LT(CSuitShapes::Ink(3).red(), 60);
}

TEST(ShapeSheets, WriteTheFontAndTheSuits) {
    QImage image(720, 110, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        CStrokeFont::Draw(p, 10, 10, 30, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", Qt::black);
        CStrokeFont::Draw(p, 10, 55, 30, "0123456789 10 NT", QColor(31, 58, 147));
        for (int suit = 0; suit < 4; ++suit)
            CSuitShapes::Draw(p, suit, QPointF(440 + suit * 70, 70), 56, CSuitShapes::Ink(suit));
    }
    EXPECT_FALSE(WritePictureSheet("shapes", {image}, 1, image.size()).isEmpty());
}
