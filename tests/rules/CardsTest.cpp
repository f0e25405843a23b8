// Card codes, the three orders, card sets and card points.
#include <gtest/gtest.h>

#include "rules/Cards.h"
#include "tests/rules/RulesFixture.h"

namespace {

TEST(CardCodes, OrdersMatchTheRankTables) {
    // Strength by rank index (0 = ace, 6..12 = seven..king) in each order.
    const int natural[13] = {7, -1, -1, -1, -1, -1, 0, 1, 2, 3, 4, 5, 6};
    const int plain[13] = {7, -1, -1, -1, -1, -1, 0, 1, 2, 6, 3, 4, 5};
    const int trump[13] = {5, -1, -1, -1, -1, -1, 0, 1, 6, 4, 7, 2, 3};
    const char* names[4] = {"club", "diamond", "heart", "Spade"};
    for (int code : DeckCodes()) {
        const int r = code / 4;
        EXPECT_EQ(SuitOf(code), code % 4);
        EXPECT_STREQ(SuitName(code % 4), names[code % 4]);
        EXPECT_EQ(NaturalBit(code), 1 << natural[r]) << code;
        EXPECT_EQ(PlainBit(code), 1 << plain[r]) << code;
        EXPECT_EQ(TrumpBit(code), 1 << trump[r]) << code;
        EXPECT_EQ(NaturalCardSet(code), static_cast<uint32_t>(1 << natural[r]) << 8 * (code % 4));
        EXPECT_EQ(TrumpCardSet(code), NaturalToTrumpSet(NaturalCardSet(code)));
        EXPECT_EQ(PlainCardSet(code), NaturalToPlainSet(NaturalCardSet(code)));
        EXPECT_EQ(CodeOfNaturalSet(NaturalCardSet(code)), code);
        // Higher trumps: every card of the suit above this one in trump order.
        uint32_t higher = 0;
        for (int other : DeckCodes())
            if (other % 4 == code % 4 && trump[other / 4] > trump[r]) higher |= TrumpCardSet(other);
        EXPECT_EQ(HigherTrumps(code), higher) << code;
        const uint16_t packed = static_cast<uint16_t>((SuitOf(code) << 8) | NaturalBit(code));
        EXPECT_EQ(HigherAsTrump(packed), higher) << code;
    }
    EXPECT_EQ(CodeOfNaturalSet(0), -1);
    EXPECT_STREQ(SuitName(4), "");
}

TEST(CardSets, ConversionsRoundTrip) {
    for (uint32_t set : {0x00000001u, 0x12345678u, 0x80808080u, 0xDEADBEEFu, 0xFFFFFFFFu}) {
        EXPECT_EQ(PlainToNaturalSet(NaturalToPlainSet(set)), set);
        EXPECT_EQ(TrumpToPlainSet(PlainToTrumpSet(set)), set);
        EXPECT_EQ(TrumpToNaturalSet(NaturalToTrumpSet(set)), set);
        EXPECT_EQ(CountBits32(NaturalToTrumpSet(set)), CountBits32(set));
    }
    // Ten of clubs in plain order: only the ace is above it.
    EXPECT_EQ(HigherAsPlain(static_cast<uint16_t>(NaturalBit(36))), TrumpCardSet(0));
    EXPECT_EQ(SuitByte(0x11223344u, 3), 0x11);
    EXPECT_EQ(SuitByte(0xFFFFFFFFu, 4), 0);
    EXPECT_EQ(FirstSuitOf(0x01020300u), 0x0103);
    EXPECT_EQ(ExpandPacked(0x0301), 0x01000000u);
}

TEST(CardPointsTest, SuitsAreWorthTheirTotals) {
    for (int trump = 0; trump <= 4; ++trump) {
        int all = 0;
        for (int suit = 0; suit < 4; ++suit) {
            int sum = 0;
            for (int code : DeckCodes())
                if (SuitOf(code) == suit) sum += PointsOfSet(NaturalCardSet(code), trump);
            EXPECT_EQ(sum, trump == 4 ? 38 : suit == trump ? 62 : 30) << trump << " " << suit;
            all += sum;
        }
        EXPECT_EQ(all, 152);
    }
    EXPECT_EQ(CardPoints(0x0204, 2), 14); // nine of trumps
    EXPECT_EQ(CardPoints(0x0210, 2), 20); // jack of trumps
    EXPECT_EQ(CardPoints(0x0003, 2), 0);  // not one card
}

} // namespace
