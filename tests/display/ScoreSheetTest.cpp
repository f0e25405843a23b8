// The score sheet: the texts of a row, its drawing over the table and its removal.
#include "tests/display/DisplayFixture.h"

#include "display/ScoreSheet.h"
#include "resources/ResourceIds.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

#include <algorithm>

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

std::vector<CScoreSheet::Written> TextsAt(const CScoreSheet& sheet, int y) {
    std::vector<CScoreSheet::Written> out;
    for (const auto& w : sheet.WrittenTexts())
        if (w.at.y() == y) out.push_back(w);
    return out;
}

} // namespace

using ScoreSheet = DisplayTable;

TEST_F(ScoreSheet, ASecondRequestHidesItAndPutsTheTableBack) {
    view->FillRect(0, 0, 60, 60, 0x00FFFF);
    const QImage table = view->Picture().copy();
    CScoreSheet sheet(*view);
    int shown = 0, hidden = 0;
    sheet.SetShownHook([&] { ++shown; });
    sheet.SetHiddenHook([&] { ++hidden; });

    sheet.ShowScore();
    EXPECT_TRUE(g_bOverlay);
    EXPECT_TRUE(sheet.IsShown());
    EXPECT_EQ(shown, 1);
    EXPECT_NE(view->Picture(), table);
    // The sheet lies over the middle; the corners of the table are untouched.
    const QRect sheetRect(kWidth / 2 - 201, kHeight / 2 - 188, 402, 376);
    EXPECT_FALSE(AllTable(QRect(sheetRect.center(), QSize(10, 10))));
    EXPECT_EQ(view->Picture().pixel(5, 5), table.pixel(5, 5));
    EXPECT_EQ(view->Picture().pixel(kWidth - 2, kHeight - 2), table.pixel(kWidth - 2, kHeight - 2));

    sheet.ShowScore();
    EXPECT_FALSE(g_bOverlay);
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(view->Picture(), table);
}

TEST_F(ScoreSheet, HandsDrawNothingWhileItIsShown) {
    Give(0, {CardOf(kAce, kHeart)});
    CScoreSheet sheet(*view);
    view->FillTable();
    g_pHand[0]->CardAt(0)->m_bDrawn = 0;
    sheet.ShowScore();
    const QImage withSheet = view->Picture().copy();
    g_pHand[0]->Redraw(true);
    EXPECT_EQ(view->Picture(), withSheet);
    sheet.RemoveOverlay();
    EXPECT_TRUE(AllTable(view->Picture().rect()));
}

TEST_F(ScoreSheet, WritesEveryDealInItsColumnsRowByRow) {
    g_nDeals = 2;
    SetEntry(0, "45", "117", "8", kHeart, 0, 45, 117, "Ana");
    SetEntry(1, "72", "#", "12", kNoTrump, 2, 0, 162, "Boris");
    SetEntry(2, "", "", "9", kClub, 1, 0, 0, "Cleo");
    CScoreSheet sheet(*view);
    sheet.ShowScore();
    const int top = kHeight / 2 - 114;
    auto row0 = TextsAt(sheet, top);
    ASSERT_EQ(row0.size(), 4u);
    EXPECT_EQ(row0[0].text, "45");
    EXPECT_EQ(row0[1].text, "117");
    EXPECT_EQ(row0[2].text, "8");
    EXPECT_EQ(row0[3].text, "<45,117>");

    auto row1 = TextsAt(sheet, top + 16);
    ASSERT_EQ(row1.size(), 4u);
    EXPECT_EQ(row1[1].text, "#");
    EXPECT_EQ(row1[3].text, "<-,162>");
    auto row2 = TextsAt(sheet, top + 32);
    ASSERT_EQ(row2.size(), 2u); // no results yet: the value and the declarer
    EXPECT_EQ(row2[0].text, "9");
    EXPECT_EQ(row2[1].text, "Cleo");

    // The contract's suit after the value, with the double marks over it.
    const auto& icons = sheet.DrawnIcons();
    ASSERT_EQ(icons.size(), 6u);
    EXPECT_EQ(icons[0].icon, resid::kIconSheetSuit + kHeart);
    EXPECT_GT(icons[0].at.x(), row0[2].at.x());
    EXPECT_EQ(icons[1].icon, resid::kIconSheetSuit + kNoTrump);
    EXPECT_EQ(icons[2].icon, resid::kIconSheetDoubled);
    EXPECT_EQ(icons[3].icon, resid::kIconSheetRedoubled);
    EXPECT_EQ(icons[2].at, icons[1].at);
    EXPECT_EQ(icons[1].at.y(), top + 16 + 6);
    EXPECT_EQ(icons[4].icon, resid::kIconSheetSuit + kClub);
    EXPECT_EQ(icons[5].icon, resid::kIconSheetDoubled);
}

TEST_F(ScoreSheet, ARequestWhileItIsBeingDrawnIsIgnored) {
    CScoreSheet sheet(*view);
    int shown = 0;
    // The game flow's hook may dispatch messages that ask for the sheet again.
    sheet.SetShownHook([&] {
        ++shown;
        sheet.ShowScore();
    });
    sheet.ShowScore();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(sheet.IsShown());
    sheet.SetShownHook({});
    sheet.ShowScore();
    EXPECT_FALSE(g_bOverlay);
    EXPECT_TRUE(AllTable(view->Picture().rect()));
}

TEST_F(ScoreSheet, DestroyingTheViewsSheetPutsTheTableBack) {
    {
        CScoreSheet sheet(*view);
        sheet.ShowScore();
        ASSERT_TRUE(g_bOverlay);
    }
    EXPECT_FALSE(g_bOverlay);
    EXPECT_TRUE(AllTable(view->Picture().rect()));
}
