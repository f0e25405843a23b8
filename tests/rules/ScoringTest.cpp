// Scoring a finished deal: card points, the contract, doubling, rounding, the
// game totals, the deal record entry and the referee line.
#include <gtest/gtest.h>

#include <string>

#include "rules/Declarations.h"
#include "tests/rules/RulesFixture.h"

namespace {

std::string ResultText(int deal, int offset) {
    const uint8_t* e = DealEntry(deal);
    std::string s(reinterpret_cast<const char*>(e + offset), 4);
    return s.substr(0, s.find('\0'));
}

TEST(Rounding, RemainderAboveFiveRoundsUp) {
    EXPECT_EQ(RoundTotal(85), 8);
    EXPECT_EQ(RoundTotal(77), 8);
    EXPECT_EQ(RoundTotal(86), 9);
    EXPECT_EQ(RoundTotal(80), 8);
    EXPECT_EQ(RoundTotal(0), 0);
}

class Scoring : public RulesTable {
protected:
    void SetUp() override {
        RulesTable::SetUp();
        g_pMainFrame = &frame;
    }

    // Hearts are trumps. Place 1 holds seven trumps and wins the first seven tricks;
    // place 0 takes the last trick, four sevens, with the seven of trumps. Card
    // points: 152 - 0 to place 1's side, 10 for the last trick to place 0's side.
    // Place 1 earns the king-and-queen bonus.
    void PlayOneSidedDeal(int declarer, int value) {
        SetContract(value, kHeart, declarer);
        const int hearts[7] = {Card(kJack, kHeart), Card(kNine, kHeart), Card(kAce, kHeart),
                               Card(kTen, kHeart),  Card(kKing, kHeart), Card(kQueen, kHeart),
                               Card(kEight, kHeart)};
        for (int h : hearts)
            Give(1, {h});
        Give(1, {Card(kSeven, kClub)});
        Give(0, {Card(kSeven, kHeart)});
        Give(2, {Card(kSeven, kDiamond)});
        Give(3, {Card(kSeven, kSpade)});
        int others[3][7];
        int n = 0;
        for (int suit : {kClub, kDiamond, kSpade})
            for (int rank : {kEight, kNine, kTen, kJack, kQueen, kKing, kAce}) {
                int holder = n % 3;
                others[holder][n / 3] = Card(rank, suit);
                ++n;
            }
        const int placeOf[3] = {0, 2, 3};
        for (int h = 0; h < 3; ++h)
            for (int i = 0; i < 7; ++i)
                Give(placeOf[h], {others[h][i]});
        for (int t = 0; t < 7; ++t)
            PlayTrick(1, {hearts[t], others[1][t], others[2][t], others[0][t]});
        PlayTrick(1, {Card(kSeven, kClub), Card(kSeven, kDiamond), Card(kSeven, kSpade),
                      Card(kSeven, kHeart)});
        ASSERT_EQ(g_pTable->Count(), 32);
        ASSERT_EQ(g_pTable->TricksWonBy(1), 7);
        ASSERT_EQ(g_pTable->TricksWonBy(0), 1);
        ASSERT_EQ(g_pHand[1]->m_nPoints, 20);
    }

    RecordingFrame frame;
};

TEST_F(Scoring, MadeExactly) {
    PlayOneSidedDeal(0, 8);
    g_pHand[0]->m_nPoints = 70; // shown declarations: 10 + 70 = 80
    g_pTable->ScoreDeal();
    ASSERT_EQ(frame.chat.size(), 1u);
    EXPECT_EQ(frame.chat[0].first, -1);
    EXPECT_EQ(frame.chat[0].second, "Referee> ***Our Score(10/70)***Their Score(152/20)***");
    EXPECT_EQ(g_score[0], 8 + 8);
    EXPECT_EQ(g_score[1], 17);
    EXPECT_EQ(ResultText(0, kDealResult0), "16");
    EXPECT_EQ(ResultText(0, kDealResult1), "17");
    EXPECT_EQ(GetDealInt(0, kDealPoints0), 70);
    EXPECT_EQ(GetDealInt(0, kDealPoints1), 20);
}

TEST_F(Scoring, OnePointShortFails) {
    PlayOneSidedDeal(0, 8);
    g_pHand[2]->m_nPoints = 69; // 79 in all
    g_pTable->ScoreDeal();
    EXPECT_EQ(g_score[0], 0);
    EXPECT_EQ(g_score[1], (172 + 79) / 10 + 8); // 251 rounds to 25, plus the contract
    EXPECT_EQ(ResultText(0, kDealResult0), "#");
    EXPECT_EQ(ResultText(0, kDealResult1), "33");
}

TEST_F(Scoring, DoubledAndMade) {
    PlayOneSidedDeal(0, 8);
    g_pHand[0]->m_nPoints = 70;
    g_contract.doubledBy = 1;
    g_pTable->ScoreDeal();
    EXPECT_EQ(g_score[0], 8 + 17 + 16);
    EXPECT_EQ(g_score[1], 0);
    EXPECT_EQ(ResultText(0, kDealResult1), "-");
}

TEST_F(Scoring, RedoubledAndMade) {
    PlayOneSidedDeal(0, 8);
    g_pHand[0]->m_nPoints = 70;
    g_contract.doubledBy = 1;
    g_contract.redoubledBy = 0;
    g_pTable->ScoreDeal();
    EXPECT_EQ(g_score[0], 8 + 17 + 32);
    EXPECT_EQ(g_score[1], 0);
}

TEST_F(Scoring, DoubledAndFailed) {
    PlayOneSidedDeal(0, 8);
    g_pHand[0]->m_nPoints = 69;
    g_contract.doubledBy = 1;
    g_pTable->ScoreDeal();
    EXPECT_EQ(g_score[0], 0);
    EXPECT_EQ(g_score[1], 25 + 16);
    EXPECT_EQ(ResultText(0, kDealResult0), "#");
}

TEST_F(Scoring, DefendersWithoutTricksShowTheMarker) {
    PlayOneSidedDeal(1, 8);
    // Declaring side 1 took seven tricks; side 0 took one, so no "<@>" here.
    g_pTable->ScoreDeal();
    EXPECT_EQ(g_score[1], 17 + 8);
    EXPECT_EQ(g_score[0], 1);
    EXPECT_EQ(ResultText(0, kDealResult0), "1");
}

class Capot : public Scoring {
protected:
    // Place 0 holds all eight trumps and leads one each trick; nobody else has one.
    void PlayCapot(int declarer, int value) {
        SetContract(value, kHeart, declarer);
        const int hearts[8] = {Card(kJack, kHeart),  Card(kNine, kHeart), Card(kAce, kHeart),
                               Card(kTen, kHeart),   Card(kKing, kHeart), Card(kQueen, kHeart),
                               Card(kEight, kHeart), Card(kSeven, kHeart)};
        for (int h : hearts)
            Give(0, {h});
        int n = 0;
        int cards[3][8];
        for (int suit : {kClub, kDiamond, kSpade})
            for (int rank : {kSeven, kEight, kNine, kTen, kJack, kQueen, kKing, kAce}) {
                cards[n % 3][n / 3] = Card(rank, suit);
                ++n;
            }
        for (int p = 0; p < 3; ++p)
            for (int i = 0; i < 8; ++i)
                Give(p + 1, {cards[p][i]});
        for (int t = 0; t < 8; ++t)
            PlayTrick(0, {hearts[t], cards[0][t], cards[1][t], cards[2][t]});
        ASSERT_EQ(g_pTable->TricksWonBy(0), 8);
    }
};

TEST_F(Capot, DeclarerTakesEveryTrick) {
    PlayCapot(0, 8);
    g_pTable->ScoreDeal();
    // 250 with no last-trick ten; the king was played while the queen was held.
    EXPECT_EQ(frame.chat.back().second, "Referee> ***Our Score(250/20)***Their Score(0/0)***");
    EXPECT_EQ(g_score[0], 27 + 8);
    EXPECT_EQ(g_score[1], 0);
    EXPECT_EQ(ResultText(0, kDealResult0), "35");
    EXPECT_EQ(ResultText(0, kDealResult1), "<@>");
}

TEST_F(Capot, EveryTrickYetTooHighAContract) {
    PlayCapot(0, 30); // 300 asked, 270 made
    g_pTable->ScoreDeal();
    // The failing side's 270 loses 88 and goes to the defenders.
    EXPECT_EQ(g_score[1], RoundTotal(270 - 88) + 30);
    EXPECT_EQ(g_score[0], 0);
    EXPECT_EQ(ResultText(0, kDealResult0), "#");
}

TEST_F(Capot, DefendersTakeEveryTrick) {
    PlayCapot(1, 8);
    g_pTable->ScoreDeal();
    EXPECT_EQ(ResultText(0, kDealResult1), "###");
    EXPECT_EQ(g_score[0], 27 + 8);
}

TEST_F(Capot, TotalsAddUpAndEntriesBeyondTheRecordAreDropped) {
    g_score[0] = 100;
    g_score[1] = 50;
    g_nDeals = kDealEntries; // past the last entry
    PlayCapot(0, 8);
    g_pTable->ScoreDeal();
    EXPECT_EQ(g_score[0], 135);
    EXPECT_EQ(g_score[1], 50);
    EXPECT_EQ(g_dealRecord[kDealRecordSize - 2], 0);
    EXPECT_EQ(g_dealRecord[kDealRecordSize - 1], 0);
    for (int i = 0; i < kDealRecordSize; ++i)
        ASSERT_EQ(g_dealRecord[i], 0) << i;
}

TEST_F(Scoring, NoContractScoresNothing) {
    g_pTable->ScoreDeal();
    EXPECT_EQ(g_score[0], 0);
    EXPECT_EQ(g_score[1], 0);
    EXPECT_TRUE(frame.chat.empty());
}

} // namespace
