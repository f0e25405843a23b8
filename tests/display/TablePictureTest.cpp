// Drawing through the table view: cards, erasing and the chosen back.
#include "tests/display/DisplayFixture.h"

using TablePicture = DisplayTable;

TEST_F(TablePicture, DrawsAndErasesExactlyTheCardRectangle) {
    view->DrawCard(100, 50, -1, -1, CardOf(kKing, kHeart), 0, 0xFFFFFF);
    EXPECT_EQ(NonTableBox(view->Picture()), QRect(100, 50, 71, 96));
    view->DrawCard(140, 60, -1, -1, CardOf(kQueen, kHeart), 0, 0xFFFFFF);
    const QImage before = view->Picture().copy();
    view->EraseCard(140, 60, -1, -1, kTableColour);
    EXPECT_TRUE(AllTable(QRect(140, 60, 71, 96)));
    // The part of the first card that the second did not cover is untouched.
    const QRect uncovered(100, 50, 40, 96);
    EXPECT_EQ(view->Picture().copy(uncovered), before.copy(uncovered));
    view->DrawCard(300, 10, 35, 48, 56, 1, 0xFFFFFF); // a card fitted into its own size
    EXPECT_EQ(NonTableBox(view->Picture()).bottomRight(), QPoint(334, 145));
}

TEST_F(TablePicture, FaceDownCardsShowTheCurrentlyChosenBack) {
    Give(2, {CardOf(kAce, kClub)});
    g_pHand[2]->Redraw(false);
    const CCard* card = g_pHand[2]->CardAt(0);
    ASSERT_NE(card, nullptr);
    const QRect r(card->m_nX, card->m_nY, 71, 96);
    const QImage back54 = view->Picture().copy(r);
    g_nCardBack = 60;
    g_pHand[2]->Redraw(false);
    EXPECT_NE(view->Picture().copy(r), back54);
    g_nCardBack = 54;
    g_pHand[2]->Redraw(false);
    EXPECT_EQ(view->Picture().copy(r), back54);
}
