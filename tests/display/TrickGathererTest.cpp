// Gathering a finished trick: its cards leave the picture, the rest stays, and a
// view that goes away meanwhile stops it.
#include "tests/display/DisplayFixture.h"

#include <tuple>
#include <vector>

using Gathering = DisplayTable;

TEST_F(Gathering, RemovesTheTricksCardsAndKeepsTheRest) {
    g_contract = {8, kHeart, -1, -1, 3, 0};
    const int spades[4] = {kAce, kKing, kTen, kSeven}, clubs[4] = {kSeven, kEight, kNine, kTen};
    for (int p = 0; p < 4; ++p) {
        Give(p, {CardOf(spades[p], kSpade), CardOf(clubs[p], kClub)});
        g_pHand[p]->Redraw(false);
    }
    for (int p = 0; p < 3; ++p)
        g_pTable->PlayCard(p, CardOf(spades[p], kSpade));
    const QImage before = view->Picture().copy();
    // The fourth card completes the trick and gathers it.
    g_pTable->PlayCard(3, CardOf(kSeven, kSpade));
    EXPECT_EQ(std::tuple(g_pTable->m_nCurTrick, g_pTable->m_tricks[0].winner), std::tuple(1, 0));

    // The middle of the table is empty again.
    const QRect middle((kWidth - 71) / 2 - 40, (kHeight - 96) / 2 - 40, 71 + 80, 96 + 80);
    EXPECT_TRUE(AllTable(middle));
    // Every card still in a hand lies where it lay, untouched.
    for (int p = 0; p < 4; ++p) {
        const CCard* card = g_pHand[p]->CardAt(g_pHand[p]->FindSlot(CardOf(clubs[p], kClub)));
        ASSERT_NE(card, nullptr);
        const QRect r(card->m_nX + 10, card->m_nY + 10, 30, 30);
        EXPECT_EQ(view->Picture().copy(r), before.copy(r));
    }
    EXPECT_EQ(pauses, std::vector<int>{800});
}

TEST_F(Gathering, StopsAtOnceWhenTheViewGoesAway) {
    g_pTable->ResetTricks();
    auto* card = new CCard(CardOf(kAce, kDiamond));
    g_pTable->Add(card, -1);
    g_pTable->m_tricks[0] = {3, 3, card->m_nCode, 1};
    card->SetPlace(200, 150, 0, -1, -1);
    card->Draw(false);
    onPump = [&] {
        if (pumps == 3) view.reset(); // the window closes during the second frame
    };
    g_pTable->GatherTrick(1);
    EXPECT_EQ(std::tuple(view == nullptr, g_pView == nullptr, pumps), std::tuple(true, true, 3));
}
