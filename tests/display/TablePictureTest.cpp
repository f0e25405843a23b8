// Drawing through the table view: cards, erasing, labels, icons, the hands at
// their layout places and the widget's bands around a panel.
#include "tests/display/DisplayFixture.h"

#include "rules/Cards.h"

#include "display/TableWidget.h"
#include "resources/ResourceIds.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPalette>

namespace {

const QRgb kGreen = qRgb(0, 128, 0);

QRect StandardAt(int x, int y) {
    return QRect(x, y, 71, 96);
}

} // namespace

using TablePicture = DisplayTable;

TEST_F(TablePicture, StartsAllGreenAtTheClientSizeWithTheStandardCardSize) {
    EXPECT_EQ(view->ClientSize().cx, kWidth);
    EXPECT_EQ(view->ClientSize().cy, kHeight);
    EXPECT_EQ(view->StandardCardSize().cx, 71);
    EXPECT_EQ(view->StandardCardSize().cy, 96);
    EXPECT_TRUE(AllTable(view->Picture().rect()));
}

TEST_F(TablePicture, IgnoresDrawingBeforeThePictureExists) {
    CTablePicture fresh;
    EXPECT_FALSE(fresh.HasSurface());
    fresh.DrawCard(0, 0, -1, -1, 0, 0, 0xFFFFFF);
    fresh.FillRect(0, 0, 10, 10, 0);
    fresh.DrawText(0, 0, "x");
    EXPECT_TRUE(fresh.Picture().isNull());
    fresh.Create(100, 80);
    fresh.Create(300, 300); // the size is kept from the first paint
    EXPECT_EQ(fresh.Picture().size(), QSize(100, 80));
}

TEST_F(TablePicture, DrawsAStandardCardInsideItsRectangleOnly) {
    view->DrawCard(100, 50, -1, -1, CardOf(kAce, kSpade), 0, 0xFFFFFF);
    const QRect card = StandardAt(100, 50);
    EXPECT_GT(NonTable(card), 71 * 96 * 9 / 10);
    // The centre of a card face is white paper or its picture, never the table.
    EXPECT_NE(view->Picture().pixel(card.center()), kGreen);
    EXPECT_EQ(NonTableBox(view->Picture()), card);
}

TEST_F(TablePicture, FitsACardIntoItsOwnSize) {
    view->DrawCard(10, 10, 35, 48, 56, 1, 0xFFFFFF);
    EXPECT_EQ(NonTableBox(view->Picture()), QRect(10, 10, 35, 48));
}

TEST_F(TablePicture, EraseRestoresTheTableColourOfExactlyTheCardRectangle) {
    view->DrawCard(100, 50, -1, -1, CardOf(kKing, kHeart), 0, 0xFFFFFF);
    view->DrawCard(140, 60, -1, -1, CardOf(kQueen, kHeart), 0, 0xFFFFFF);
    const QImage before = view->Picture().copy();
    view->EraseCard(140, 60, -1, -1, kTableColour);
    EXPECT_TRUE(AllTable(StandardAt(140, 60)));
    // The part of the first card that the second did not cover is untouched.
    for (int y = 50; y < 146; ++y)
        for (int x = 100; x < 140; ++x)
            ASSERT_EQ(view->Picture().pixel(x, y), before.pixel(x, y)) << x << "," << y;
    view->EraseCard(100, 50, 20, 30, kTableColour);
    EXPECT_TRUE(AllTable(QRect(100, 50, 20, 30)));
    EXPECT_FALSE(AllTable(QRect(120, 80, 20, 20)));
}

TEST_F(TablePicture, FillsRectanglesWithA_BGR_Colour) {
    view->FillRect(5, 6, 7, 8, 0x0000FF); // red as 0x00BBGGRR
    EXPECT_EQ(view->Picture().pixel(5, 6), qRgb(255, 0, 0));
    EXPECT_EQ(view->Picture().pixel(11, 13), qRgb(255, 0, 0));
    EXPECT_EQ(view->Picture().pixel(12, 13), kGreen);
    EXPECT_EQ(view->Picture().pixel(11, 14), kGreen);
}

TEST_F(TablePicture, WritesLabelsWithinTheirMeasuredSize) {
    const ViewSize size = view->MeasureText("Boris(2)");
    EXPECT_GT(size.cx, 30);
    EXPECT_GT(size.cy, 8);
    EXPECT_GT(view->MeasureText("Boris(2)").cx, view->MeasureText("Boris").cx);
    view->DrawText(40, 30, "Boris(2)");
    const QRect box = NonTableBox(view->Picture());
    ASSERT_FALSE(box.isEmpty());
    EXPECT_TRUE(QRect(40, 30, size.cx, size.cy).contains(box)) << box.x() << "," << box.y();
}

TEST_F(TablePicture, DrawsIconsAtTheirNaturalSize) {
    view->DrawIcon(20, 20, resid::kIconTurnA);
    const QRect box = NonTableBox(view->Picture());
    EXPECT_FALSE(box.isEmpty());
    EXPECT_TRUE(QRect(20, 20, 32, 32).contains(box));
    view->DrawIcon(100, 100, 9999); // unknown: nothing
    EXPECT_TRUE(QRect(20, 20, 32, 32).contains(NonTableBox(view->Picture())));
}

TEST_F(TablePicture, InvalidateCallsTheWindowsHook) {
    int calls = 0;
    view->SetInvalidateHook([&] { ++calls; });
    view->Invalidate();
    view->Invalidate();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(view->InvalidateCount(), 2);
}

TEST_F(TablePicture, HandsLieAtTheirLayoutPlaces) {
    Give(0, {CardOf(kAce, kHeart), CardOf(kSeven, kClub), CardOf(kTen, kSpade)});
    Give(1, {CardOf(kKing, kDiamond), CardOf(kNine, kHeart)});
    for (int place = 0; place < 4; ++place)
        g_pHand[place]->Redraw(true);
    for (int place = 0; place < 2; ++place) {
        const CPlayerHand& hand = *g_pHand[place];
        for (int slot = 0; slot < kPileSlots; ++slot) {
            const CCard* card = hand.CardAt(slot);
            if (!card) continue;
            EXPECT_TRUE(card->m_bDrawn);
            // Each card's top-left corner region shows the card, not the table.
            EXPECT_GT(NonTable(QRect(card->m_nX + 4, card->m_nY + 4, 20, 20)), 0);
        }
    }
    // The bottom row starts at (cw + 65, H - ch - 3); the left column at (9, 56).
    const CCard* first = g_pHand[0]->CardAt(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_nX, 71 + 65);
    EXPECT_EQ(first->m_nY, kHeight - 96 - 3);
    const CCard* left = g_pHand[1]->CardAt(0);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->m_nX, 9);
    EXPECT_EQ(left->m_nY, 56);
    // Nothing lies in the middle of the table.
    EXPECT_TRUE(AllTable(QRect(kWidth / 2 - 40, kHeight / 2 - 40, 80, 80)));
}

TEST_F(TablePicture, FaceDownCardsShowTheCurrentlyChosenBack) {
    Give(2, {CardOf(kAce, kClub)});
    g_pHand[2]->Redraw(false);
    const CCard* card = g_pHand[2]->CardAt(0);
    ASSERT_NE(card, nullptr);
    const QRect r = StandardAt(card->m_nX, card->m_nY);
    const QImage back54 = view->Picture().copy(r);
    g_nCardBack = 60;
    g_pHand[2]->Redraw(false);
    const QImage back60 = view->Picture().copy(r);
    EXPECT_NE(back54, back60);
    g_nCardBack = 54;
    g_pHand[2]->Redraw(false);
    EXPECT_EQ(view->Picture().copy(r), back54);
}

TEST_F(TablePicture, ThePlayedCardLiesNearTheCentreOfTheTable) {
    Give(0, {CardOf(kAce, kHeart)});
    g_contract = {8, kHeart, -1, -1, 3, 0};
    g_pTable->PlayCard(0, CardOf(kAce, kHeart));
    g_pTable->Redraw(true);
    const QRect expected((kWidth - 71) / 2 - 5, (kHeight - 96) / 2 + 30, 71, 96);
    EXPECT_EQ(NonTable(QRect(expected.center(), QSize(1, 1))), 1);
    EXPECT_TRUE(AllTable(QRect(kWidth / 2 - 20, 120, 40, 40)));
}

TEST(TableWidgetBands, CoverEverythingButTheChild) {
    const QRect child(100, 80, 200, 150);
    const auto bands = CTableWidget::BandsAround(child, 540, 440);
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_EQ(bands[0], QRect(0, 0, 540, 80));
    EXPECT_EQ(bands[1], QRect(0, 80, 100, 150));
    EXPECT_EQ(bands[2], QRect(300, 80, 240, 150));
    EXPECT_EQ(bands[3], QRect(0, 230, 540, 210));
    int area = 0;
    for (const QRect& b : bands) {
        EXPECT_FALSE(b.intersects(child));
        area += b.width() * b.height();
    }
    EXPECT_EQ(area + child.width() * child.height(), 540 * 440);
}

TEST_F(TablePicture, WidgetShowsThePictureButNeverPaintsOverItsPanel) {
    CTableWidget widget(*view);
    widget.resize(kWidth, kHeight);
    view->FillRect(0, 0, kWidth, kHeight, 0x0000FF);
    QImage shot = widget.grab().toImage();
    EXPECT_EQ(shot.pixel(kWidth / 2, kHeight / 2), qRgb(255, 0, 0));

    QWidget panel(&widget);
    panel.setGeometry(100, 100, 120, 80);
    panel.setAutoFillBackground(true);
    QPalette pal = panel.palette();
    pal.setColor(QPalette::Window, Qt::blue);
    panel.setPalette(pal);
    panel.show();
    widget.SetActiveChild(&panel);
    shot = widget.grab().toImage();
    EXPECT_EQ(shot.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(150, 140), qRgb(0, 0, 255));

    int clicks = 0;
    QPoint at;
    widget.onLeftDown = [&](QPoint p) {
        ++clicks;
        at = p;
    };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(30, 40), QPointF(30, 40), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(at, QPoint(30, 40));
}
