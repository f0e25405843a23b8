// What cards and declarations are worth, and the scoring of a finished deal: the
// contract, doubling and rounding.
#include <gtest/gtest.h>

#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "tests/rules/RulesFixture.h"

namespace {

TEST(CardPointsTest, SuitsAreWorthTheirTotals) {
    for (int trump = 0; trump <= 4; ++trump)
        for (int suit = 0; suit < 4; ++suit) {
            int sum = 0;
            for (int code : DeckCodes())
                if (SuitOf(code) == suit) sum += PointsOfSet(NaturalCardSet(code), trump);
            EXPECT_EQ(sum, trump == 4 ? 38 : suit == trump ? 62 : 30) << trump << " " << suit;
        }
    EXPECT_EQ(CardPoints(0x0210, 2), 20); // jack of trumps
}

uint32_t Set(std::initializer_list<int> codes) {
    uint32_t set = 0;
    for (int code : codes)
        set |= NaturalCardSet(code);
    return set;
}

uint32_t FourOf(int rank) {
    return Set({Card(rank, 0), Card(rank, 1), Card(rank, 2), Card(rank, 3)});
}

TEST(FindDeclarationsTest, ValuesAndRanks) {
    struct Row {
        uint32_t cards;
        int trump, points, rank;
    };
    const Row rows[] = {
        {FourOf(kJack), kHeart, 200, 42},
        {FourOf(kNine), kNoTrump, 100, 31},
        {FourOf(kAce), kNoTrump, 200, 36},
        {FourOf(kEight), kClub, 0, 0},
        {0x00FF0000u, kHeart, 120, 30}, // the whole suit, trumps
        // Four of a kind is taken before sequences.
        {Set({Card(kNine, kHeart), Card(kTen, kHeart), Card(kJack, kHeart), Card(kQueen, kHeart)}) |
             FourOf(kKing),
         kSpade, 150, 38},
        {Set({Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub), Card(kQueen, kDiamond),
              Card(kKing, kDiamond), Card(kAce, kDiamond)}),
         kHeart, 40, 11},
        {Set({Card(kJack, 0), Card(kQueen, 0), Card(kKing, 0), Card(kAce, 0)}), kHeart, 50, 21},
        // Topped by the king, in trumps: below the plain run to the ace.
        {Set({Card(kTen, kHeart), Card(kJack, kHeart), Card(kQueen, kHeart), Card(kKing, kHeart)}),
         kHeart, 50, 20},
    };
    for (const Row& row : rows) {
        const DeclarationResult r = FindDeclarations(row.cards, row.trump);
        EXPECT_EQ(std::make_pair(r.points, r.bestRank), std::make_pair(row.points, row.rank))
            << row.cards << " trump " << row.trump;
    }
    // Same top card: the trump suit ranks higher.
    EXPECT_GT(
        FindDeclarations(Set({Card(kJack, 2), Card(kQueen, 2), Card(kKing, 2)}), kHeart).bestRank,
        FindDeclarations(Set({Card(kJack, 0), Card(kQueen, 0), Card(kKing, 0)}), kHeart).bestRank);
}

using Declaring = RulesTable;

TEST_F(Declaring, PartnershipComparison) {
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0) << "not announced";
    // Each step announces place's code (shown or not), then whether the partnerships
    // of places 0 and 1 win.
    const struct {
        int place, value, shown, wins0, wins1;
    } steps[] = {
        {0, 12, 0, 1, 0},                   // nobody else announced
        {1, 20, 0, 0, 1}, {2, 21, 0, 1, 0}, // the partner's better code counts for place 0
        {1, 21, 0, 1, 1},                   // equal codes while neither side has shown: both win
        {1, 21, 1, 0, 1},                   // a shown opponent wins
    };
    for (const auto& step : steps) {
        g_declare[step.place] = {};
        g_declare[step.place].announced = 1;
        g_declare[step.place].value = step.value;
        g_declare[step.place].shown = step.shown;
        EXPECT_EQ(std::make_pair(PartnershipWinsDeclarations(0), PartnershipWinsDeclarations(1)),
                  std::make_pair(step.wins0, step.wins1))
            << step.place << " " << step.value;
    }
}

TEST_F(Declaring, TrumpKingAndQueenBonusIsEarnedOnce) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kQueen, kHeart), Card(kKing, kHeart), Card(kQueen, kSpade), Card(kKing, kSpade),
             Card(kQueen, kClub), Card(kKing, kClub)});
    Give(1, {Card(kSeven, kHeart)});
    Give(2, {Card(kTen, kHeart)});
    Give(3, {Card(kSeven, kSpade)});
    PlayTrick(
        0, {Card(kQueen, kHeart), Card(kSeven, kHeart), Card(kTen, kHeart), Card(kSeven, kSpade)});
    EXPECT_EQ(g_pHand[0]->m_nPoints, 20);
    EXPECT_FALSE(EarnsTrumpPairBonus(*g_pHand[0], Card(kKing, kHeart), kHeart))
        << "the second card of the pair earns nothing more";
    EXPECT_FALSE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kHeart));
    EXPECT_TRUE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kSpade));
    EXPECT_TRUE(EarnsTrumpPairBonus(*g_pHand[0], Card(kKing, kClub), kClub))
        << "the first card code";
}

class Scoring : public RulesTable {
protected:
    // Hearts trumps. One-sided: place 1 wins seven tricks with trumps, place 0 the last
    // (152 + 20 against 10). Capot: place 0 holds every trump and takes all.
    void PlayDeal(bool capot, int declarer, int value) {
        SetContract(value, kHeart, declarer);
        const int hearts[8] = {Card(kJack, kHeart),  Card(kNine, kHeart), Card(kAce, kHeart),
                               Card(kTen, kHeart),   Card(kKing, kHeart), Card(kQueen, kHeart),
                               Card(kEight, kHeart), Card(kSeven, kHeart)};
        const int ranks[8] = {kSeven, kEight, kNine, kTen, kJack, kQueen, kKing, kAce};
        const int trumpHolder = capot ? 0 : 1;
        const int others[3] = {(trumpHolder + 1) % 4, (trumpHolder + 2) % 4, (trumpHolder + 3) % 4};
        int cards[3][8];
        int n = 0;
        for (int suit : {kClub, kDiamond, kSpade})
            for (int r = capot ? 0 : 1; r < 8; ++r, ++n)
                cards[n % 3][n / 3] = Card(ranks[r], suit);
        const int tricks = capot ? 8 : 7;
        for (int t = 0; t < tricks; ++t)
            Give(trumpHolder, {hearts[t]});
        for (int h = 0; h < 3; ++h)
            for (int t = 0; t < tricks; ++t)
                Give(others[h], {cards[h][t]});
        for (int t = 0; t < tricks; ++t)
            PlayTrick(trumpHolder, {hearts[t], cards[0][t], cards[1][t], cards[2][t]});
        if (!capot) {
            const int sevens[4] = {Card(kSeven, kHeart), Card(kSeven, kClub),
                                   Card(kSeven, kDiamond), Card(kSeven, kSpade)};
            for (int place = 0; place < 4; ++place)
                Give(place, {sevens[place]});
            PlayTrick(1, {sevens[1], sevens[2], sevens[3], sevens[0]});
        }
        ASSERT_EQ(g_pTable->Count(), 32);
        ASSERT_EQ(g_pTable->TricksWonBy(trumpHolder), tricks);
    }
};

TEST_F(Scoring, DealsScoreAsTheRulesSay) {
    struct Row {
        const char* name;
        bool capot;
        int declarer, value, pointsPlace, points, doubledBy, redoubledBy;
        int score0, score1;
    };
    const Row rows[] = {
        {"made exactly", false, 0, 8, 0, 70, -1, -1, 16, 17},
        {"one point short", false, 0, 8, 2, 69, -1, -1, 0, 33},
        {"a remainder of 5 rounds down", false, 0, 8, 0, 75, -1, -1, 16, 17},
        {"redoubled and made", false, 0, 8, 0, 70, 1, 0, 57, 0},
        {"doubled and failed", false, 0, 8, 0, 69, 1, -1, 0, 41},
        {"defenders with a trick", false, 1, 8, -1, 0, -1, -1, 1, 25},
        {"capot", true, 0, 8, -1, 0, -1, -1, 35, 0},
        // 300 asked, 270 made: the failing side's 270 loses 88 and goes over.
        {"capot below the contract", true, 0, 30, -1, 0, -1, -1, 0, 18 + 30},
    };
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        PlayDeal(row.capot, row.declarer, row.value);
        if (row.pointsPlace >= 0) g_pHand[row.pointsPlace]->m_nPoints = row.points;
        g_contract.doubledBy = row.doubledBy;
        g_contract.redoubledBy = row.redoubledBy;
        g_pTable->ScoreDeal();
        EXPECT_EQ(std::make_pair(g_score[0], g_score[1]), std::make_pair(row.score0, row.score1))
            << row.name;
        // The deal's line on the sheet: "#" for the failed side's zero.
        const uint8_t* entry = DealEntry(0);
        EXPECT_EQ(entry[kDealResult0] == '#', row.score0 == 0 && row.score1 > 0) << row.name;
    }
}

} // namespace
