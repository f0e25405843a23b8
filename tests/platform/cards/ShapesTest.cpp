// The shapes the cards and icons are built from: the stroked capitals and the
// four suit signs, with a sheet of them for a person to look at.
#include "platform/cards/StrokeFont.h"
#include "platform/cards/SuitShapes.h"
#include "tests/platform/cards/PictureSheet.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

TEST(SuitShapes, FourDistinctSolidSignsAndASheet) {
    std::vector<QImage> drawn;
    for (int suit = 0; suit < 4; ++suit) {
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
    for (const QPoint q : {QPoint(38, 52), QPoint(62, 52), QPoint(50, 70)})
        EXPECT_EQ(qAlpha(drawn[0].pixel(q)), 255) << q.x() << "," << q.y();
    QImage sheet(720, 110, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    {
        QPainter p(&sheet);
        p.setRenderHint(QPainter::Antialiasing);
        CStrokeFont::Draw(p, 10, 10, 30, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", Qt::black);
        CStrokeFont::Draw(p, 10, 55, 30, "0123456789 10 NT", QColor(31, 58, 147));
        for (int suit = 0; suit < 4; ++suit)
            CSuitShapes::Draw(p, suit, QPointF(440 + suit * 70, 70), 56, CSuitShapes::Ink(suit));
    }
    EXPECT_FALSE(WritePictureSheet("shapes", {sheet}, 1, sheet.size()).isEmpty());
}
