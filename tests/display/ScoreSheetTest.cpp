// The score sheet over the table and its removal.
#include "tests/display/DisplayFixture.h"

#include "display/ScoreSheet.h"

using ScoreSheet = DisplayTable;

// Shown over the middle, it keeps hands from drawing; a second request, a request
// from its own hook while it is drawn, and its destruction each leave the table.
TEST_F(ScoreSheet, ASecondRequestHidesItAndPutsTheTableBack) {
    Give(0, {CardOf(kAce, kHeart)});
    view->FillRect(0, 0, 60, 60, 0x00FFFF);
    const QImage table = view->Picture().copy();
    int shown = 0, hidden = 0;
    {
        CScoreSheet sheet(*view);
        // The game flow's hook may dispatch messages that ask for the sheet again.
        sheet.SetShownHook([&] {
            ++shown;
            sheet.ShowScore();
        });
        sheet.SetHiddenHook([&] { ++hidden; });
        for (int round = 0; round < 2; ++round) {
            sheet.ShowScore();
            EXPECT_TRUE(g_bOverlay && sheet.IsShown());
            EXPECT_EQ(shown, round + 1);
            EXPECT_FALSE(AllTable(QRect(kWidth / 2, kHeight / 2, 10, 10)));
            EXPECT_EQ(view->Picture().pixel(5, 5), table.pixel(5, 5));
            const QImage withSheet = view->Picture().copy();
            g_pHand[0]->CardAt(0)->m_bDrawn = 0;
            g_pHand[0]->Redraw(true);
            EXPECT_EQ(view->Picture(), withSheet);
            if (round == 0) {
                sheet.ShowScore();
                EXPECT_EQ(std::tuple(g_bOverlay, hidden), std::tuple(0, 1));
                EXPECT_EQ(view->Picture(), table);
            }
        }
    }
    EXPECT_FALSE(g_bOverlay);
    EXPECT_EQ(view->Picture(), table);
}
