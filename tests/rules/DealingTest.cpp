// Dealing: the deck and its generator, the hands, and the seating rebuilt from the
// user list.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "rules/DealRandom.h"
#include "tests/rules/RulesFixture.h"

namespace {

// Picks never repeat a slot nor pick a dealt one, a seed gives the same picks, and
// single picks spread evenly over the deck.
TEST(Deck, PickRandomIsDistinctReproducibleAndEven) {
    CCardPile deck(32);
    SeedDealRandom(12345);
    for (int round = 0; round < 200; ++round) {
        deck.ReturnDealt();
        for (int k = 0; k < round % 25; ++k)
            deck.DealOut((k * 7 + round) % 32);
        const int n = 1 + round % 9;
        uint8_t out[40];
        deck.PickRandom(n, out);
        std::set<int> seen;
        int picked = 0;
        for (; out[picked]; ++picked) {
            const int slot = out[picked] - 1;
            ASSERT_TRUE(slot >= 0 && slot < 32);
            EXPECT_EQ(deck.m_slots[slot].state, kSlotHeld) << "picked a dealt slot";
            EXPECT_TRUE(seen.insert(slot).second) << "slot picked twice";
        }
        EXPECT_EQ(picked, std::min(n, 32 - deck.m_nDealt));
    }
    deck.ReturnDealt();
    uint8_t a[33], b[33];
    SeedDealRandom(99);
    deck.PickRandom(32, a);
    SeedDealRandom(99);
    deck.PickRandom(32, b);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(a)), std::string(reinterpret_cast<char*>(b)));
    int hits[32] = {};
    const int rounds = 4000;
    for (int i = 0; i < rounds; ++i) {
        uint8_t out[2];
        deck.PickRandom(1, out);
        ++hits[out[0] - 1];
    }
    for (int slot = 0; slot < 32; ++slot) {
        EXPECT_GT(hits[slot], rounds / 64) << slot;
        EXPECT_LT(hits[slot], rounds / 16) << slot;
    }
}

using Hands = RulesTable;

TEST_F(Hands, SendDealPromisesEverySlotOnce) {
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

TEST_F(Hands, SeatingOwnSeatBecomesPlaceZeroAndLowerIdKeepsAContestedSeat) {
    ClearUsers();
    conn.m_nUserId = 7;
    AddUser(7, 3, 7);
    AddUser(2, 4, 2);
    AddUser(5, 1, 5);
    AddUser(9, 2, 9, false);
    AddUser(12, 4, 12);             // contests seat 4: the lower id keeps it
    EXPECT_EQ(RebuildSeating(), 0); // one seat has not started
    const int users[4] = {7, 2, 5, 9};
    for (int place = 0; place < 4; ++place) {
        EXPECT_EQ(UserAtPlace(place), users[place]);
        EXPECT_EQ(PlaceOfUser(users[place]), place);
    }
    EXPECT_EQ(g_UsersList[12].state, 0);
    g_UsersList[9].state |= 0x8000;
    EXPECT_EQ(RebuildSeating(), 1);
    EXPECT_TRUE(g_bGameRunning);
}

} // namespace
