// Gathering a finished trick: its cards leave the picture, the rest stays; the
// steps towards the winner, the pause and a view that goes away meanwhile.
#include "tests/display/DisplayFixture.h"

#include <tuple>
#include <vector>

namespace {

// A one-card trick lying at (x, y) and already won by `winner`, for watching
// one card's way.
void LayOneCardTrick(int winner, int x, int y, int code) {
    g_pTable->ResetTricks();
    auto* card = new CCard(code);
    g_pTable->Add(card, -1);
    g_pTable->m_tricks[0] = {winner, winner, code, 1};
    card->SetPlace(x, y, 0, -1, -1);
    card->Draw(false);
}

} // namespace

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
    EXPECT_TRUE(SavePicture(before, "table-mid-play.png"));
    // The fourth card completes the trick and gathers it.
    g_pTable->PlayCard(3, CardOf(kSeven, kSpade));
    EXPECT_EQ(std::tuple(g_pTable->m_nCurTrick, g_pTable->m_tricks[0].winner), std::tuple(1, 0));

    // The middle of the table is empty again.
    const QRect middle((kWidth - 71) / 2 - 40, (kHeight - 96) / 2 - 40, 71 + 80, 96 + 80);
    EXPECT_TRUE(AllTable(middle));
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_FALSE(g_pTable->CardAt(slot)->m_bDrawn);
    // Every card still in a hand lies where it lay, untouched.
    for (int p = 0; p < 4; ++p) {
        const CCard* card = g_pHand[p]->CardAt(g_pHand[p]->FindSlot(CardOf(clubs[p], kClub)));
        ASSERT_NE(card, nullptr);
        EXPECT_TRUE(card->m_bDrawn);
        const QRect r(card->m_nX + 10, card->m_nY + 10, 30, 30);
        EXPECT_EQ(view->Picture().copy(r), before.copy(r));
    }
    EXPECT_EQ(pauses, std::vector<int>{800});
}

// Shown before the pause, then a few steps towards the winner's side, then gone.
TEST_F(Gathering, EachCardStepsTowardsTheWinnerAndVanishes) {
    const QPoint towards[4] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};
    for (int winner = 0; winner < 4; ++winner) {
        SCOPED_TRACE(winner);
        view->FillTable();
        LayOneCardTrick(winner, 230, 170, CardOf(kJack, kDiamond));
        std::vector<QRect> boxes;
        onPump = [&] { boxes.push_back(NonTableBox(view->Picture())); };
        view->GatherTrick(*g_pTable, 1);
        onPump = nullptr;
        ASSERT_EQ(boxes.size(), 7u);
        EXPECT_EQ(boxes[0], QRect(230, 170, 71, 96));
        const QPoint moved = boxes[2].center() - boxes[1].center();
        EXPECT_EQ(QPoint((moved.x() > 0) - (moved.x() < 0), (moved.y() > 0) - (moved.y() < 0)),
                  towards[winner]);
        EXPECT_TRUE(boxes[5].isEmpty() && boxes[6].isEmpty());
        EXPECT_TRUE(AllTable(view->Picture().rect()));
    }
}

TEST_F(Gathering, LaterCardsThatOverlapTheMovingOneStayWhole) {
    g_pTable->ResetTricks();
    auto* under = new CCard(CardOf(kNine, kHeart));
    auto* over = new CCard(CardOf(kQueen, kClub));
    g_pTable->Add(under, -1);
    g_pTable->Add(over, -1);
    g_pTable->m_tricks[0] = {0, 0, under->m_nCode, 2};
    under->SetPlace(200, 150, 0, -1, -1);
    over->SetPlace(230, 160, 0, -1, -1);
    under->Draw(false);
    over->Draw(false);
    // Inside its rounded corners, which show what lay under it.
    const QRect inner(234, 164, 63, 88);
    const QImage whole = view->Picture().copy(inner);
    // Once the first card has gone, the second lies whole where it was.
    bool checked = false;
    onPump = [&] {
        if (pumps == 6) {
            EXPECT_EQ(view->Picture().copy(inner), whole);
            EXPECT_FALSE(under->m_bDrawn);
            checked = true;
        }
    };
    view->GatherTrick(*g_pTable, 1);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(AllTable(view->Picture().rect()));
}

TEST_F(Gathering, StopsAtOnceWhenTheViewGoesAway) {
    LayOneCardTrick(3, 200, 150, CardOf(kAce, kDiamond));
    onPump = [&] {
        if (pumps == 3) view.reset(); // the window closes during the second frame
    };
    g_pTable->GatherTrick(1);
    EXPECT_EQ(view, nullptr);
    EXPECT_EQ(g_pView, nullptr);
    EXPECT_EQ(pumps, 3);
}
