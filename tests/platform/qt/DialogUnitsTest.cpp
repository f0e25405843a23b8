#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>

#include "platform/qt/DialogUnits.h"

TEST(DialogUnits, ConvertsWithTheClassicBaseUnits) {
    // The classic 8-point dialog font: 6 pixels across, 13 down.
    const CDialogUnits du(6, 13);
    EXPECT_EQ(du.X(4), 6);
    EXPECT_EQ(du.X(17), 26); // 25.5 rounds up
    EXPECT_EQ(du.X(0), 0);
    EXPECT_EQ(du.Y(8), 13);
    EXPECT_EQ(du.Y(11), 18); // 17.875
    EXPECT_EQ(du.Y(14), 23); // 22.75
    EXPECT_EQ(du.X(-4), -6);
}

TEST(DialogUnits, RectanglesConvertTheirEdges) {
    const CDialogUnits du(7, 15);
    const QRect r = du.Rect(97, 25, 65, 14);
    EXPECT_EQ(r.left(), du.X(97));
    EXPECT_EQ(r.top(), du.Y(25));
    EXPECT_EQ(r.left() + r.width(), du.X(97 + 65));
    EXPECT_EQ(r.top() + r.height(), du.Y(25 + 14));
    // Two controls that touch in dialog units touch in pixels.
    const QRect a = du.Rect(10, 10, 33, 9);
    const QRect b = du.Rect(43, 19, 33, 9);
    EXPECT_EQ(a.left() + a.width(), b.left());
    EXPECT_EQ(a.top() + a.height(), b.top());
}

TEST(DialogUnits, FollowTheFont) {
    QFont font = QApplication::font();
    const QFontMetrics fm(font);
    const CDialogUnits du(font);
    // The average width of the 52 letters, with its fraction.
    const int alphabet =
        fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_DOUBLE_EQ(du.BaseXF(), alphabet / 52.0);
    EXPECT_EQ(du.X(4 * 52), alphabet);
    EXPECT_EQ(du.BaseY(), fm.height());
    EXPECT_EQ(du.Y(800), 100 * du.BaseY());

    // A larger font gives a larger dialog.
    QFont big = font;
    big.setPointSizeF(font.pointSizeF() * 2);
    const CDialogUnits duBig(big);
    EXPECT_GT(duBig.X(100), du.X(100));
    EXPECT_GT(duBig.Y(100), du.Y(100));
}

TEST(DialogUnits, TextsFitTheWidthTheyWereLaidOutFor) {
    // A text laid out with room for n average characters gets that room.
    for (int points : {8, 9, 10, 12, 14}) {
        QFont font = QApplication::font();
        font.setPointSize(points);
        const QFontMetrics fm(font);
        const CDialogUnits du(font);
        EXPECT_GE(du.X(68), fm.horizontalAdvance("What is your name?")) << points;
        EXPECT_GE(du.X(145), fm.horizontalAdvance("Welcome to the Nuv vesk network.")) << points;
    }
}

TEST(DialogUnits, DegenerateBaseUnitsAreClamped) {
    const CDialogUnits du(0, -3);
    EXPECT_EQ(du.BaseX(), 1);
    EXPECT_EQ(du.BaseY(), 1);
    EXPECT_EQ(du.X(8), 2);
    EXPECT_EQ(du.Y(16), 2);
}
