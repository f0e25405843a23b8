// Player hands: dealing and sorting.
#include <gtest/gtest.h>

#include <set>

#include "rules/DealRandom.h"
#include "tests/rules/RulesFixture.h"

namespace {

using Hands = RulesTable;

TEST_F(Hands, SendDealPromisesEverySlotOnce) {
    RecordingFrame frame;
    g_pMainFrame = &frame;
    SeedDealRandom(12345);
    for (int pass : {3, 2, 3})
        for (int place = 1; place <= 4; ++place)
            g_pHand[place % 4]->SendDeal(g_pDeck, pass);
    ASSERT_EQ(frame.commands.size(), 12u);
    std::set<int> slots;
    for (const auto& cmd : frame.commands) {
        const int place = PlaceOfUser(static_cast<uint8_t>(cmd.text[0]) - 1);
        ASSERT_GE(place, 0);
        for (size_t i = 1; i < cmd.text.size(); ++i)
            EXPECT_TRUE(slots.insert(static_cast<uint8_t>(cmd.text[i])).second);
        g_pHand[place]->TakeListed(g_pDeck, reinterpret_cast<const uint8_t*>(cmd.text.c_str()) + 1);
    }
    EXPECT_EQ(slots.size(), 32u);
    for (int place = 0; place < 4; ++place)
        EXPECT_EQ(g_pHand[place]->Count(), 8);
    uint8_t again[] = {1, 0};
    g_pHand[0]->TakeListed(g_pDeck, again);
    EXPECT_EQ(g_pHand[0]->Count(), 8) << "a dealt slot is not handed out again";
}

TEST_F(Hands, ArrangeSortsBySuitThenRank) {
    Give(0, {Card(kAce, kHeart), Card(kSeven, kHeart), Card(kAce, kSpade), Card(kKing, kClub)});
    g_pHand[0]->Arrange();
    // Clubs, diamonds, spades, hearts; within a suit seven to king, then the ace.
    const int sorted[4] = {Card(kKing, kClub), Card(kAce, kSpade), Card(kSeven, kHeart),
                           Card(kAce, kHeart)};
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_EQ(g_pHand[0]->CardAt(slot)->m_nCode, sorted[slot]);
}

} // namespace
