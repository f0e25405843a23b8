// The score sheet: the texts of a row, its drawing over the table and its removal.
#include "tests/display/DisplayFixture.h"

#include "display/ScoreSheet.h"
#include "resources/ResourceIds.h"

namespace {

void SetEntry(int n, const char* r0, const char* r1, const char* value, int trump, int level,
              int p0, int p1, const char* declarer) {
    SetDealText(n, kDealResult0, kDealResultLen, r0);
    SetDealText(n, kDealResult1, kDealResultLen, r1);
    SetDealText(n, kDealValue, kDealValueLen, value);
    SetDealInt(n, kDealTrump, trump);
    SetDealInt(n, kDealDouble, level);
    SetDealInt(n, kDealPoints0, p0);
    SetDealInt(n, kDealPoints1, p1);
    SetDealText(n, kDealDeclarer, kDealNameLen, declarer);
}

std::vector<QString> TextsAt(const CScoreSheet& sheet, int y) {
    std::vector<QString> out;
    for (const auto& w : sheet.WrittenTexts())
        if (w.at.y() == y) out.push_back(w.text);
    return out;
}

} // namespace

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
            const QRect sheetRect(kWidth / 2 - 201, kHeight / 2 - 188, 402, 376);
            EXPECT_FALSE(AllTable(QRect(sheetRect.center(), QSize(10, 10))));
            EXPECT_EQ(view->Picture().pixel(5, 5), table.pixel(5, 5));
            EXPECT_EQ(view->Picture().pixel(kWidth - 2, kHeight - 2),
                      table.pixel(kWidth - 2, kHeight - 2));
            const QImage withSheet = view->Picture().copy();
            g_pHand[0]->CardAt(0)->m_bDrawn = 0;
            g_pHand[0]->Redraw(true);
            EXPECT_EQ(view->Picture(), withSheet);
            if (round == 0) {
                sheet.ShowScore();
                EXPECT_FALSE(g_bOverlay);
                EXPECT_EQ(hidden, 1);
                EXPECT_EQ(view->Picture(), table);
            }
        }
    }
    EXPECT_FALSE(g_bOverlay);
    EXPECT_EQ(view->Picture(), table);
}

TEST_F(ScoreSheet, WritesEveryDealInItsColumnsRowByRow) {
    g_nDeals = 2;
    SetEntry(0, "45", "117", "8", kHeart, 0, 45, 117, "Ana");
    SetEntry(1, "72", "#", "12", kNoTrump, 2, 0, 162, "Boris");
    SetEntry(2, "", "", "9", kClub, 1, 0, 0, "Cleo");
    CScoreSheet sheet(*view);
    sheet.ShowScore();
    const int top = kHeight / 2 - 114;
    using Texts = std::vector<QString>;
    EXPECT_EQ(TextsAt(sheet, top), (Texts{"45", "117", "8", "<45,117>"}));
    EXPECT_EQ(TextsAt(sheet, top + 16), (Texts{"72", "#", "12", "<-,162>"}));
    // No results yet: the value and the declarer.
    EXPECT_EQ(TextsAt(sheet, top + 32), (Texts{"9", "Cleo"}));

    // The contract's suit after the value, with the double marks over it.
    const auto& icons = sheet.DrawnIcons();
    ASSERT_EQ(icons.size(), 6u);
    const int expected[6] = {resid::kIconSheetSuit + kHeart, resid::kIconSheetSuit + kNoTrump,
                             resid::kIconSheetDoubled,       resid::kIconSheetRedoubled,
                             resid::kIconSheetSuit + kClub,  resid::kIconSheetDoubled};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(icons[i].icon, expected[i]) << i;
    EXPECT_GT(icons[0].at.x(), sheet.WrittenTexts()[2].at.x());
    EXPECT_EQ(icons[2].at, icons[1].at);
    EXPECT_EQ(icons[1].at.y(), top + 16 + 6);
}
