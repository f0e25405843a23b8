// Declarations: values, rank codes and texts; what counts as held; the partnership
// comparison; the trump king-and-queen bonus.
#include <gtest/gtest.h>

#include "rules/Declarations.h"
#include "tests/rules/RulesFixture.h"

namespace {

uint32_t Set(std::initializer_list<int> codes) {
    uint32_t set = 0;
    for (int code : codes)
        set |= NaturalCardSet(code);
    return set;
}

uint32_t FourOf(int rank) {
    return Set({Card(rank, 0), Card(rank, 1), Card(rank, 2), Card(rank, 3)});
}

TEST(FindDeclarationsTest, ValuesRanksAndTexts) {
    struct Row {
        uint32_t cards;
        int trump, points, rank;
        const char* text; // nullptr: not checked
    };
    const Row rows[] = {
        {FourOf(kJack), kHeart, 200, 42, "--> 4*X <--"},
        {FourOf(kNine), kNoTrump, 100, 31, nullptr},
        {FourOf(kAce), kNoTrump, 200, 36, nullptr},
        {FourOf(kEight), kClub, 0, 0, "-->  <--"},
        {0x00FF0000u, kHeart, 120, 30, "--> 100 <--"}, // the whole suit, trumps
        // Four of a kind is taken before sequences.
        {Set({Card(kNine, kHeart), Card(kTen, kHeart), Card(kJack, kHeart), Card(kQueen, kHeart)}) |
             FourOf(kKing),
         kSpade, 150, 38, "--> 4*X + 50 <--"},
        {Set({Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub), Card(kQueen, kDiamond),
              Card(kKing, kDiamond), Card(kAce, kDiamond)}),
         kHeart, 40, 11, "--> Terz + Terz <--"},
        {Set({Card(kJack, 0), Card(kQueen, 0), Card(kKing, 0), Card(kAce, 0)}), kHeart, 50, 21,
         nullptr},
    };
    for (const Row& row : rows) {
        const DeclarationResult r = FindDeclarations(row.cards, row.trump);
        const std::string what = std::to_string(row.cards) + " trump " + std::to_string(row.trump);
        EXPECT_EQ(r.points, row.points) << what;
        EXPECT_EQ(r.bestRank, row.rank) << what;
        EXPECT_TRUE(!row.text || r.text == row.text) << what << ": " << r.text;
    }
    // Same top card: the trump suit ranks higher.
    EXPECT_GT(
        FindDeclarations(Set({Card(kJack, 2), Card(kQueen, 2), Card(kKing, 2)}), kHeart).bestRank,
        FindDeclarations(Set({Card(kJack, 0), Card(kQueen, 0), Card(kKing, 0)}), kHeart).bestRank);
}

using Declaring = RulesTable;

TEST_F(Declaring, PartnershipComparison) {
    auto set = [](int place, int value, int shown) {
        g_declare[place].announced = 1;
        g_declare[place].value = value;
        g_declare[place].shown = shown;
    };
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0) << "not announced";
    set(0, 12, 0);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 1) << "nobody else announced";
    set(1, 20, 0);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0);
    set(2, 21, 0); // the partner's better code counts for place 0
    EXPECT_EQ(PartnershipWinsDeclarations(0), 1);
    EXPECT_EQ(PartnershipWinsDeclarations(1), 0);
    // Equal codes: while neither side has shown both win; a shown opponent wins.
    set(1, 21, 0);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 1);
    EXPECT_EQ(PartnershipWinsDeclarations(1), 1);
    set(1, 21, 1);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0);
}

TEST_F(Declaring, TrumpKingAndQueenBonusIsEarnedOnce) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kQueen, kHeart), Card(kKing, kHeart), Card(kQueen, kSpade), Card(kKing, kSpade),
             Card(kQueen, kClub), Card(kKing, kClub)});
    Give(1, {Card(kSeven, kHeart), Card(kEight, kHeart)});
    Give(2, {Card(kNine, kSpade), Card(kTen, kHeart)});
    Give(3, {Card(kSeven, kSpade), Card(kEight, kSpade)});
    g_pTable->PlayCard(0, Card(kQueen, kHeart));
    EXPECT_EQ(g_pHand[0]->m_nPoints, 20);
    PlayTrick(1, {Card(kSeven, kHeart), Card(kTen, kHeart), Card(kSeven, kSpade)});
    PlayTrick(2, {Card(kNine, kSpade), Card(kEight, kSpade), Card(kKing, kHeart)});
    EXPECT_EQ(g_pHand[0]->m_nPoints, 20) << "the second card of the pair earns nothing more";
    EXPECT_FALSE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kHeart));
    EXPECT_TRUE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kSpade));
    EXPECT_TRUE(EarnsTrumpPairBonus(*g_pHand[0], Card(kKing, kClub), kClub))
        << "the first card code";
}

} // namespace
