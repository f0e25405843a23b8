// Card codes, the three orders, card sets and the packed helpers.
#include <gtest/gtest.h>

#include <vector>

#include "rules/Cards.h"
#include "tests/rules/RulesFixture.h"

namespace {

// The game's 32 codes.
std::vector<int> DeckCodes() {
    std::vector<int> codes = {0, 1, 2, 3};
    for (int c = 24; c < 52; ++c)
        codes.push_back(c);
    return codes;
}

TEST(CardCodes, SuitsAndNames) {
    EXPECT_EQ(SuitOf(0), kClub);
    EXPECT_EQ(SuitOf(43), kSpade);
    EXPECT_EQ(SuitOf(46), kHeart);
    EXPECT_LE(SuitOf(-1), 0);
    EXPECT_STREQ(SuitName(kClub), "club");
    EXPECT_STREQ(SuitName(kDiamond), "diamond");
    EXPECT_STREQ(SuitName(kHeart), "heart");
    EXPECT_STREQ(SuitName(kSpade), "Spade");
    EXPECT_STREQ(SuitName(4), "");
}

TEST(CardCodes, AceOfClubsAndJackOfSpades) {
    EXPECT_EQ(NaturalPos(0), 7);
    EXPECT_EQ(PlainBit(0), 0x80);
    EXPECT_EQ(TrumpBit(0), 0x20);
    EXPECT_EQ(NaturalPos(43), 4);
    EXPECT_EQ(PlainBit(43), 0x08);
    EXPECT_EQ(TrumpBit(43), 0x80);
}

TEST(CardCodes, OrdersMatchTheRankTables) {
    // Strength by rank index (0 = ace, 6..12 = seven..king) in each order.
    const int natural[13] = {7, -1, -1, -1, -1, -1, 0, 1, 2, 3, 4, 5, 6};
    const int plain[13] = {7, -1, -1, -1, -1, -1, 0, 1, 2, 6, 3, 4, 5};
    const int trump[13] = {5, -1, -1, -1, -1, -1, 0, 1, 6, 4, 7, 2, 3};
    for (int code : DeckCodes()) {
        int r = code / 4;
        EXPECT_EQ(NaturalPos(code), natural[r]) << code;
        EXPECT_EQ(NaturalBit(code), 1 << natural[r]) << code;
        EXPECT_EQ(PlainBit(code), 1 << plain[r]) << code;
        EXPECT_EQ(TrumpBit(code), 1 << trump[r]) << code;
        EXPECT_EQ(NaturalCardSet(code), static_cast<uint32_t>(1 << natural[r]) << 8 * (code % 4));
        EXPECT_EQ(TrumpCardSet(code), NaturalToTrumpSet(NaturalCardSet(code)));
        EXPECT_EQ(PlainCardSet(code), NaturalToPlainSet(NaturalCardSet(code)));
        EXPECT_EQ(CodeOfNaturalSet(NaturalCardSet(code)), code);
    }
    EXPECT_EQ(CodeOfNaturalSet(0), -1);
}

TEST(CardSets, ConversionsRoundTrip) {
    EXPECT_EQ(NaturalToTrumpSet(0xFFFFFFFFu), 0xFFFFFFFFu);
    EXPECT_EQ(NaturalToTrumpSet(0x00040000u), 0x00400000u); // nine of hearts
    for (uint32_t set : {0x00000001u, 0x12345678u, 0x80808080u, 0xDEADBEEFu, 0x0F0F00F0u}) {
        EXPECT_EQ(PlainToNaturalSet(NaturalToPlainSet(set)), set);
        EXPECT_EQ(TrumpToPlainSet(PlainToTrumpSet(set)), set);
        EXPECT_EQ(TrumpToNaturalSet(NaturalToTrumpSet(set)), set);
        EXPECT_EQ(CountBits32(NaturalToTrumpSet(set)), CountBits32(set));
    }
    for (int bit = 0; bit < 8; ++bit) {
        uint8_t b = static_cast<uint8_t>(1 << bit);
        EXPECT_EQ(NaturalBitToTrump(b), PlainBitToTrump(NaturalBitToPlain(b)));
        EXPECT_EQ(NaturalBitToPlain(b), static_cast<uint8_t>(NaturalToPlainSet(b)));
    }
}

TEST(CardSets, HigherTrumps) {
    for (int suit = 0; suit < 4; ++suit)
        EXPECT_EQ(HigherTrumps(Card(10, suit)), 0u);
    EXPECT_EQ(HigherTrumps(34), 0x00800000u); // nine of hearts: the jack only
    // Seven of spades: every other spade.
    EXPECT_EQ(HigherTrumps(27), 0xFE000000u);
    // The packed forms agree with the code form.
    for (int code = 24; code < 52; ++code) {
        uint16_t packed = static_cast<uint16_t>((SuitOf(code) << 8) | NaturalBit(code));
        EXPECT_EQ(HigherAsTrump(packed), HigherTrumps(code)) << code;
    }
    // Ten of clubs in plain order: only the ace is above it.
    uint16_t tenOfClubs = static_cast<uint16_t>(NaturalBit(36));
    EXPECT_EQ(HigherAsPlain(tenOfClubs), TrumpCardSet(0));
    // King of diamonds in plain order: ten and ace.
    uint16_t kingOfDiamonds = static_cast<uint16_t>((1 << 8) | NaturalBit(49));
    EXPECT_EQ(HigherAsPlain(kingOfDiamonds), TrumpCardSet(37) | TrumpCardSet(1));
}

TEST(CardSets, SuitBytesAndPacking) {
    EXPECT_EQ(SuitByte(0x11223344u, 0), 0x44);
    EXPECT_EQ(SuitByte(0x11223344u, 3), 0x11);
    EXPECT_EQ(SuitByte(0xFFFFFFFFu, 4), 0);
    EXPECT_EQ(SuitByte(0xFFFFFFFFu, -1), 0);
    EXPECT_EQ(PlaceInSuit(0xFF, 2), 0x00FF0000u);
    EXPECT_EQ(PlaceInSuit(0xFF, 4), 0u);
    EXPECT_EQ(FirstSuitOf(0), 0);
    EXPECT_EQ(FirstSuitOf(0x01000000u), 0x0301);
    EXPECT_EQ(FirstSuitOf(0x01020300u), 0x0103);
    EXPECT_EQ(ExpandPacked(0x0301), 0x01000000u);
}

TEST(CardSets, BitHelpers) {
    EXPECT_EQ(CountBits8(0), 0);
    EXPECT_EQ(CountBits8(0xFF), 8);
    EXPECT_EQ(CountBits32(0x80000001u), 2);
    EXPECT_EQ(HighestBit(0x2C), 0x20);
    EXPECT_EQ(LowestBit(0x2C), 0x04);
    EXPECT_EQ(DropHighest(0x2C), 0x0C);
    EXPECT_EQ(DropLowest(0x2C), 0x28);
    EXPECT_EQ(HighestBit(0), 0);
    EXPECT_EQ(LowestBit(0), 0);
    EXPECT_EQ(DropHighest(0), 0);
    EXPECT_EQ(DropLowest(0), 0);
}

TEST(CardPointsTest, SuitsAreWorthTheirTotals) {
    for (int trump = 0; trump <= 4; ++trump) {
        int all = 0;
        for (int suit = 0; suit < 4; ++suit) {
            int sum = 0;
            for (int code : DeckCodes())
                if (SuitOf(code) == suit) sum += PointsOfSet(NaturalCardSet(code), trump);
            int expected = trump == 4 ? 38 : suit == trump ? 62 : 30;
            EXPECT_EQ(sum, expected) << "trump " << trump << " suit " << suit;
            all += sum;
        }
        EXPECT_EQ(all, 152);
    }
    EXPECT_EQ(CardPoints(0x0204, 2), 14); // nine of trumps
    EXPECT_EQ(CardPoints(0x0210, 2), 20); // jack of trumps
    EXPECT_EQ(CardPoints(0x0110, 2), 2);  // another jack
    EXPECT_EQ(CardPoints(0x0080, 4), 19); // ace without trumps
    EXPECT_EQ(CardPoints(0x0003, 2), 0);  // not one card
}

} // namespace
