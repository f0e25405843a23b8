// The deck and the dealing generator.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "rules/DealRandom.h"
#include "tests/rules/RulesFixture.h"

namespace {

TEST(Deck, PickRandomNeverRepeatsNorPicksDealtSlots) {
    CCardPile deck(32);
    SeedDealRandom(12345);
    for (int round = 0; round < 200; ++round) {
        deck.ReturnDealt();
        for (int k = 0; k < round % 25; ++k)
            deck.DealOut((k * 7 + round) % 32);
        const int free = 32 - deck.m_nDealt;
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
        EXPECT_EQ(picked, std::min(n, free));
    }
}

TEST(Deck, PickRandomIsReproducibleAndEven) {
    CCardPile deck(32);
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

} // namespace
