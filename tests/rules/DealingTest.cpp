// The deck's generator and the seating rebuilt from the user list.
#include <gtest/gtest.h>

#include <set>

#include "rules/DealRandom.h"
#include "tests/rules/RulesFixture.h"

namespace {

// Picks never repeat a slot nor pick a dealt one, and single picks spread evenly.
TEST(Deck, PickRandomIsDistinctAndEven) {
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

using Seating = RulesTable;

TEST_F(Seating, OwnSeatIsPlaceZeroAndLowerIdKeepsAContestedSeat) {
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
