// The score sheet: sizes by the number of deals, the texts of a row, its
// drawing over the table and its removal.
#include "tests/display/DisplayFixture.h"

#include "display/ScoreSheet.h"
#include "display/ScoreSheetFont.h"
#include "resources/ResourceIds.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
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

TEST(ScoreSheetSizes, RowsAndFontShrinkWithMoreDeals) {
    struct Case {
        int deals, row, points, icon;
    };
    const Case cases[] = {{0, 16, 11, 6}, {16, 16, 11, 6}, {17, 15, 10, 6}, {18, 14, 10, 6},
                          {19, 13, 9, 5}, {20, 13, 9, 5},  {21, 12, 8, 4},  {22, 12, 8, 4},
                          {23, 11, 8, 4}, {25, 11, 8, 4}};
    for (const Case& c : cases) {
        const SheetMetrics m = CScoreSheet::MetricsFor(c.deals);
        EXPECT_EQ(m.rowHeight, c.row) << c.deals;
        EXPECT_EQ(m.points, c.points) << c.deals;
        EXPECT_EQ(m.iconOffset, c.icon) << c.deals;
    }
}

TEST(ScoreSheetSizes, FontHeightIsPointsAtTheScreensResolution) {
    EXPECT_EQ(CScoreSheetFont::PixelHeight(11, 96), 15);
    EXPECT_EQ(CScoreSheetFont::PixelHeight(10, 96), 13);
    EXPECT_EQ(CScoreSheetFont::PixelHeight(9, 96), 12);
    EXPECT_EQ(CScoreSheetFont::PixelHeight(8, 96), 11);
    EXPECT_EQ(CScoreSheetFont::PixelHeight(8, 120), 13);
    const QFont font = CScoreSheetFont::Make(11, 96);
    EXPECT_EQ(font.pixelSize(), 15);
    EXPECT_EQ(font.weight(), QFont::Bold);
}

TEST(ScoreSheetTexts, HandPointsOrTheDeclarersName) {
    EXPECT_EQ(CScoreSheet::LastColumnText(0, 0, "Cleo"), "Cleo");
    EXPECT_EQ(CScoreSheet::LastColumnText(112, 50, "Cleo"), "<112,50>");
    EXPECT_EQ(CScoreSheet::LastColumnText(0, 162, "Cleo"), "<-,162>");
    EXPECT_EQ(CScoreSheet::LastColumnText(162, 0, "Cleo"), "<162,->");
}

TEST_F(ScoreSheet, ReadsARowFromTheDealRecord) {
    SetEntry(3, "123", "45", "10", kSpade, 1, 0, 0, "Boris");
    SheetRow row = CScoreSheet::RowOf(3);
    EXPECT_EQ(row.result0, "123");
    EXPECT_EQ(row.result1, "45");
    EXPECT_EQ(row.value, "10");
    EXPECT_EQ(row.trump, kSpade);
    EXPECT_EQ(row.doubleLevel, 1);
    EXPECT_EQ(row.last, "Boris");
    // Fields filled to their full width carry no terminating zero.
    SetEntry(4, "###", "<@>", "16", 4, 2, 90, 72, "AnaMariaDelCarmenXYZ");
    row = CScoreSheet::RowOf(4);
    EXPECT_EQ(row.result1, "<@>");
    EXPECT_EQ(row.value, "16");
    EXPECT_EQ(row.last, "<90,72>");
    SetEntry(5, "", "", "", 0, 0, 0, 0, "AnaMariaDelCarmenXYZ");
    EXPECT_EQ(CScoreSheet::RowOf(5).last, "AnaMariaDelCarmenXYZ");
    EXPECT_EQ(CScoreSheet::RowOf(40).value, "");
}

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
    const int cx = kWidth / 2, cy = kHeight / 2;
    EXPECT_EQ(sheet.FontPixelHeight(), 15);

    QFont font = CScoreSheetFont::Make(11, view->Picture().logicalDpiY());
    const QFontMetrics fm(font, &view->Picture());
    auto centredOn = [&](const CScoreSheet::Written& w, int x) {
        return w.at.x() == x - fm.horizontalAdvance(w.text) / 2;
    };
    const int top = cy - 114;
    auto row0 = TextsAt(sheet, top);
    ASSERT_EQ(row0.size(), 4u);
    EXPECT_EQ(row0[0].text, "45");
    EXPECT_TRUE(centredOn(row0[0], cx - 171));
    EXPECT_EQ(row0[1].text, "117");
    EXPECT_TRUE(centredOn(row0[1], cx - 111));
    EXPECT_EQ(row0[2].text, "8");
    EXPECT_TRUE(centredOn(row0[2], cx - 69));
    EXPECT_EQ(row0[3].text, "<45,117>");
    EXPECT_TRUE(centredOn(row0[3], cx + 34));

    auto row1 = TextsAt(sheet, top + 16);
    ASSERT_EQ(row1.size(), 4u);
    EXPECT_EQ(row1[1].text, "#");
    EXPECT_EQ(row1[3].text, "<-,162>");
    auto row2 = TextsAt(sheet, top + 32);
    ASSERT_EQ(row2.size(), 2u); // no results yet: the value and the declarer
    EXPECT_EQ(row2[0].text, "9");
    EXPECT_EQ(row2[1].text, "Cleo");

    // The contract's suit stands 3 pixels after the value, with the double marks over it.
    const auto& icons = sheet.DrawnIcons();
    ASSERT_EQ(icons.size(), 6u);
    EXPECT_EQ(icons[0].icon, resid::kIconSheetSuit + kHeart);
    EXPECT_EQ(icons[0].at, QPoint(row0[2].at.x() + fm.horizontalAdvance("8") + 3, top + 6));
    EXPECT_EQ(icons[1].icon, resid::kIconSheetSuit + kNoTrump);
    EXPECT_EQ(icons[2].icon, resid::kIconSheetDoubled);
    EXPECT_EQ(icons[3].icon, resid::kIconSheetRedoubled);
    EXPECT_EQ(icons[2].at, icons[1].at);
    EXPECT_EQ(icons[1].at.y(), top + 16 + 6);
    EXPECT_EQ(icons[4].icon, resid::kIconSheetSuit + kClub);
    EXPECT_EQ(icons[5].icon, resid::kIconSheetDoubled);
}

TEST_F(ScoreSheet, ManyDealsUseSmallerRowsAndFont) {
    g_nDeals = 23;
    for (int n = 0; n <= 23; ++n)
        SetEntry(n, "10", "20", "8", n % 5, 0, 10, 20, "Dusan");
    CScoreSheet sheet(*view);
    sheet.ShowScore();
    EXPECT_EQ(sheet.FontPixelHeight(), 11);
    std::vector<int> tops;
    for (const auto& w : sheet.WrittenTexts())
        if (tops.empty() || tops.back() != w.at.y()) tops.push_back(w.at.y());
    ASSERT_EQ(tops.size(), 24u);
    for (size_t i = 1; i < tops.size(); ++i)
        EXPECT_EQ(tops[i] - tops[i - 1], 11);
    EXPECT_EQ(sheet.DrawnIcons().front().at.y(), tops.front() + 4);
    // The last row still lies on the sheet.
    EXPECT_LT(tops.back() + 11, kHeight / 2 + 188);
}

TEST_F(ScoreSheet, UsesAHandwritingFaceWhenOneIsInstalled) {
    const QString family = CScoreSheetFont::InstalledFamily();
    const QFont font = CScoreSheetFont::Make(10, 96);
    if (family.isEmpty()) {
        // Without one, the application's face, still bold and at the same size.
        EXPECT_EQ(font.family(), QGuiApplication::font().family());
    } else {
        EXPECT_TRUE(CScoreSheetFont::PreferredFamilies().contains(family));
        EXPECT_EQ(QFontInfo(font).family(), family);
    }
    EXPECT_EQ(font.pixelSize(), 13);
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
