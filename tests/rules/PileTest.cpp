// Card objects, piles, the deck and the dealing generator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "rules/DealRandom.h"
#include "tests/rules/RulesFixture.h"

namespace {

TEST(Deck, SlotOrderIsFixed) {
    CCardPile deck(32);
    EXPECT_EQ(deck.Count(), 32);
    for (int slot = 0; slot < 32; ++slot)
        EXPECT_EQ(deck.CardAt(slot)->m_nCode, slot < 4 ? 3 - slot : 55 - slot);
    EXPECT_EQ(deck.m_natSet, 0xFFFFFFFFu);
    EXPECT_EQ(deck.m_cardBytes[0], 4);
    EXPECT_EQ(deck.m_cardBytes[32], 255);
    EXPECT_EQ(deck.FindSlot(10), -1);
    EXPECT_EQ(deck.FindSlotBySet(TrumpCardSet(24)), 31);
}

TEST(Pile, SlotsAndReferences) {
    CCardPile full(52);
    CCard* extra = new CCard(0);
    extra->AddRef();
    EXPECT_EQ(full.Add(extra, -1), -1) << "a full pile takes no card";
    EXPECT_EQ(extra->m_nRef, 1);
    extra->Release();

    CCardPile pile;
    EXPECT_EQ(pile.Add(nullptr, -1), -1);
    CCard* card = new CCard(36);
    EXPECT_EQ(pile.Add(card, 7), 7);
    EXPECT_EQ(pile.m_cardBytes[7], 37);
    CCard* intruder = new CCard(0);
    EXPECT_EQ(pile.Add(intruder, 7), -1) << "an occupied slot is not overwritten";
    EXPECT_EQ(intruder->m_nRef, 0);
    delete intruder;
    pile.RemoveAt(7);
    EXPECT_EQ(pile.Count(), 0);
    EXPECT_EQ(pile.m_natSet, 0u);
    EXPECT_EQ(pile.m_cardBytes[7], 255);

    CCardPile deck(32);
    CCard* ace = deck.CardAt(0);
    pile.Add(ace, -1);
    EXPECT_EQ(ace->m_nRef, 2);
    pile.Clear();
    EXPECT_EQ(ace->m_nRef, 1);
}

TEST(Deck, DealOutAndReturn) {
    CCardPile deck(32);
    CCard* card = deck.DealOut(5);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(deck.DealOut(5), card);
    EXPECT_EQ(deck.m_nDealt, 1) << "dealing a dealt slot again counts it once";
    deck.ReturnDealt();
    EXPECT_EQ(deck.m_nDealt, 0);
    EXPECT_EQ(deck.m_slots[5].state, kSlotHeld);
    EXPECT_EQ(deck.DealOut(60), nullptr);
}

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
            ASSERT_GE(slot, 0);
            ASSERT_LT(slot, 32);
            EXPECT_EQ(deck.m_slots[slot].state, kSlotHeld) << "picked a dealt slot";
            EXPECT_TRUE(seen.insert(slot).second) << "slot picked twice";
        }
        EXPECT_EQ(picked, std::min(n, free));
        EXPECT_EQ(deck.m_nDealt, 32 - free) << "picking deals nothing";
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
    EXPECT_EQ(std::set<uint8_t>(a, a + 32).size(), 32u);
    int hits[32] = {};
    const int rounds = 4000;
    for (int i = 0; i < rounds; ++i) {
        uint8_t out[2];
        deck.PickRandom(1, out);
        ++hits[out[0] - 1];
    }
    for (int slot = 0; slot < 32; ++slot) {
        EXPECT_GT(hits[slot], rounds / 32 / 2) << slot;
        EXPECT_LT(hits[slot], rounds / 32 * 2) << slot;
    }
}

TEST(DealRandomTest, BoundsAndEnvironmentSeed) {
    EXPECT_EQ(DealRandom(0), 0u);
    for (int i = 0; i < 100; ++i)
        EXPECT_LT(DealRandom(3), 3u);
    const char* old = std::getenv("VESK_SEED");
    const std::string saved = old ? old : "";
    auto draw = [] {
        std::vector<uint64_t> v;
        for (int i = 0; i < 8; ++i)
            v.push_back(DealRandom(1000000));
        return v;
    };
    setenv("VESK_SEED", "777", 1);
    ReseedDealRandomFromEnvironment();
    const auto fromEnvironment = draw();
    SeedDealRandom(777);
    EXPECT_EQ(draw(), fromEnvironment);
    unsetenv("VESK_SEED");
    ReseedDealRandomFromEnvironment();
    const auto first = draw();
    ReseedDealRandomFromEnvironment();
    EXPECT_NE(draw(), first) << "without VESK_SEED every start draws differently";
    if (old) setenv("VESK_SEED", saved.c_str(), 1);
}

} // namespace
