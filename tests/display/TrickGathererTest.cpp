// Gathering a finished trick: its cards leave the picture, the rest stays; the
// steps towards the winner, the pause and a view that goes away meanwhile.
#include "tests/display/DisplayFixture.h"

#include "display/TrickGatherer.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

#include <vector>

namespace {

// A one-card trick lying at (x, y) and already won by `winner`, for watching
// one card's way.
CCard* LayOneCardTrick(int winner, int x, int y, int code) {
    g_pTable->ResetTricks();
    auto* card = new CCard(code);
    g_pTable->Add(card, -1);
    g_pTable->m_tricks[0] = {winner, winner, code, 1};
    card->SetPlace(x, y, 0, -1, -1);
    card->Draw(false);
    return card;
}

} // namespace

using Gathering = DisplayTable;

TEST_F(Gathering, RemovesTheTricksCardsAndKeepsTheRest) {
    g_contract = {8, kHeart, -1, -1, 3, 0};
    Give(0, {CardOf(kAce, kSpade), CardOf(kSeven, kClub)});
    Give(1, {CardOf(kKing, kSpade), CardOf(kEight, kClub)});
    Give(2, {CardOf(kTen, kSpade), CardOf(kNine, kClub)});
    Give(3, {CardOf(kSeven, kSpade), CardOf(kTen, kClub)});
    for (CPlayerHand* hand : g_pHand)
        hand->Redraw(false);
    Play(0, {CardOf(kAce, kSpade), CardOf(kKing, kSpade), CardOf(kTen, kSpade)});
    const QImage before = view->Picture().copy();
    // The fourth card completes the trick and gathers it.
    g_pTable->PlayCard(3, CardOf(kSeven, kSpade));
    EXPECT_EQ(g_pTable->m_nCurTrick, 1);
    EXPECT_EQ(g_pTable->m_tricks[0].winner, 0);

    // The middle of the table is empty again.
    const QRect middle((kWidth - 71) / 2 - 40, (kHeight - 96) / 2 - 40, 71 + 80, 96 + 80);
    EXPECT_TRUE(AllTable(middle));
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_FALSE(g_pTable->CardAt(slot)->m_bDrawn);
    // Every card still in a hand lies where it lay, untouched.
    for (CPlayerHand* hand : g_pHand) {
        const CCard* card = hand->CardAt(hand->FirstFreeSlot() - 1);
        for (int slot = 0; slot < kPileSlots && !card; ++slot)
            card = hand->CardAt(slot);
        ASSERT_NE(card, nullptr);
        EXPECT_TRUE(card->m_bDrawn);
        const QRect r(card->m_nX + 10, card->m_nY + 10, 30, 30);
        EXPECT_EQ(view->Picture().copy(r), before.copy(r));
    }
    EXPECT_EQ(pauses, std::vector<int>{800});
}

TEST_F(Gathering, EachCardStepsThreeTimesTowardsTheWinnerAndVanishes) {
    for (int winner = 0; winner < 4; ++winner) {
        view->FillTable();
        const int x = 230, y = 170;
        LayOneCardTrick(winner, x, y, CardOf(kJack, kDiamond));
        const QPoint step = CTrickGatherer::StepTowards(winner, kWidth, kHeight, 71, 96);
        std::vector<QRect> boxes;
        onPump = [&] { boxes.push_back(NonTableBox(view->Picture())); };
        pumps = 0;
        view->GatherTrick(*g_pTable, 1);
        onPump = nullptr;

        ASSERT_EQ(boxes.size(), 7u) << "winner " << winner;
        const QRect home(x, y, 71, 96);
        EXPECT_EQ(boxes[0], home) << "shown before the pause";
        for (int f = 0; f < 4; ++f) {
            // Where the card leaves the picture only the part inside it shows; a
            // sliver at the edge may be all rounded corner.
            const QRect expected = home.translated(step * f).intersected(view->Picture().rect());
            if (expected.width() >= 8 && expected.height() >= 8)
                EXPECT_EQ(boxes[1 + f], expected) << "winner " << winner << " frame " << f;
            else
                EXPECT_TRUE(boxes[1 + f].isEmpty() || expected.contains(boxes[1 + f]))
                    << "winner " << winner << " frame " << f;
        }
        EXPECT_TRUE(boxes[5].isEmpty());
        EXPECT_TRUE(boxes[6].isEmpty());
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
