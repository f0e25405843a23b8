// Dialog units: controls laid out in average characters follow the font, and
// the texts fit the room they were laid out for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>

#include "platform/qt/DialogUnits.h"

TEST(DialogUnits, ConvertsWithTheBaseUnits) {
    const CDialogUnits du(6, 13); // 6 pixels across, 13 down
    const std::pair<int, int> xs[] = {{4, 6}, {17, 26}, {0, 0}, {-4, -6}}; // 25.5 rounds up
    for (const auto& [units, pixels] : xs)
        EXPECT_EQ(du.X(units), pixels) << units;
    const std::pair<int, int> ys[] = {{8, 13}, {11, 18}, {14, 23}};
    for (const auto& [units, pixels] : ys)
        EXPECT_EQ(du.Y(units), pixels) << units;
    // Two controls that touch in dialog units touch in pixels.
    const CDialogUnits odd(7, 15);
    const QRect a = odd.Rect(10, 10, 33, 9), b = odd.Rect(43, 19, 33, 9);
    EXPECT_EQ(a.left() + a.width(), b.left());
    EXPECT_EQ(a.top() + a.height(), b.top());
    const CDialogUnits degenerate(0, -3);
    EXPECT_EQ(degenerate.BaseX(), 1);
    EXPECT_EQ(degenerate.BaseY(), 1);
}

TEST(DialogUnits, FollowTheFontAndTextsFit) {
    for (int points : {8, 9, 10, 12, 14}) {
        QFont font = QApplication::font();
        font.setPointSize(points);
        const QFontMetrics fm(font);
        const CDialogUnits du(font);
        const int alphabet =
            fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        EXPECT_DOUBLE_EQ(du.BaseXF(), alphabet / 52.0) << points;
        EXPECT_EQ(du.X(4 * 52), alphabet) << points;
        EXPECT_EQ(du.BaseY(), fm.height()) << points;
        // A text laid out with room for n average characters gets that room.
        EXPECT_GE(du.X(68), fm.horizontalAdvance("What is your name?")) << points;
        EXPECT_GE(du.X(145), fm.horizontalAdvance("Welcome to the Nuv vesk network.")) << points;
    }
}
