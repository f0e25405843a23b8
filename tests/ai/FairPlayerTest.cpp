// The fair computer player: what its seat knows and nothing more, the deals it
// samples, and the same choices for the same seed.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <random>

#include "ai/CBidEvaluator.h"
#include "ai/CComputerPlayer.h"
#include "ai/CDealSampler.h"
#include "ai/CDealSimulator.h"
#include "ai/CFairPlayer.h"
#include "ai/CSeatKnowledge.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {

constexpr int kClubs = 0, kHearts = 2, kNoTrumps = 4;

// Each sampled deal keeps the own hand, gives every place its known cards and
// its hand size, none of the cards gone and none the place has shown it lacks,
// and deals every card not gone exactly once.
void ExpectConsistent(const CSeatKnowledge& k, const uint32_t hands[4]) {
    uint32_t all = 0;
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(all & hands[p], 0u) << "a card dealt twice";
        all |= hands[p];
        EXPECT_EQ(hands[p] & k.Gone(), 0u) << p;
        EXPECT_EQ(std::popcount(hands[p]), k.HandSize(p)) << p;
        if (p == k.Me()) continue;
        EXPECT_EQ(hands[p] & k.Excluded(p), 0u) << p;
        EXPECT_EQ(hands[p] & k.Known(p), k.Known(p)) << p;
    }
    EXPECT_EQ(hands[k.Me()], k.OwnHand());
    EXPECT_EQ(all, ~k.Gone());
}

} // namespace

TEST(SeatKnowledgeTest, WhatNotFollowingShowsAndTheSamplesRespectIt) {
    struct Row {
        const char* name;
        int trump, leader;
        std::vector<std::string> cards; // in play order from the leader
        int place;                      // the place whose lack is checked
        const char* lacks;              // cards it has shown it cannot hold
    };
    const Row rows[] = {
        // Place 2 does not follow spades in no trumps: no spade left.
        {"no trumps", kNoTrumps, 0, {"AS", "7S", "7C"}, 2, "7S 8S 9S TS JS QS KS AS"},
        // Hearts are trumps; place 1 discards a club on an opponent's spade: no
        // spade and no trump.
        {"must trump", kHearts, 0, {"AS", "8C"}, 1, "8S 9H JH AH TH KH QH"},
        // Hearts led, place 1 plays the seven under the nine: no trump above the nine.
        {"must over-trump", kHearts, 0, {"9H", "7H"}, 1, "JH"},
        // Partner holds the trick: a discard shows only the missing suit.
        {"partner wins", kClubs, 3, {"AD", "KD", "8S"}, 1, "7D 8D 9D TD JD QD"},
    };
    for (const Row& row : rows) {
        // The seat is the place that has not played yet; the place after it has
        // shown the jack of spades with a declaration.
        const int me = (row.leader + 3) & 3, shows = (me + 1) & 3;
        const uint32_t own = Nat("7D 8D QC KC AC 9C 8H QS");
        CSeatKnowledge k(me, own, row.trump, row.leader);
        for (size_t i = 0; i < row.cards.size(); ++i)
            k.Observe((row.leader + static_cast<int>(i)) & 3, Code(row.cards[i]));
        const uint32_t lacks = Nat(row.lacks) & ~k.Gone() & ~own;
        EXPECT_EQ(k.Excluded(row.place) & lacks, lacks) << row.name;
        k.AddShown(shows, Nat("JS"));
        CDealSampler sampler(k);
        std::mt19937_64 rng(5);
        uint32_t seenIn[4] = {0, 0, 0, 0};
        for (int i = 0; i < 200; ++i) {
            uint32_t hands[4];
            ASSERT_TRUE(sampler.Sample(rng, hands)) << row.name;
            ExpectConsistent(k, hands);
            for (int p = 0; p < 4; ++p)
                seenIn[p] |= hands[p];
        }
        // Not one fixed deal: a free card turns up in more than one hand.
        const uint32_t free = ~k.Gone() & ~own & ~Nat("JS");
        int spread = 0;
        for (uint32_t c = free; c; c &= c - 1) {
            const uint32_t card = c & (0u - c);
            int holders = 0;
            for (int p = 0; p < 4; ++p)
                holders += (seenIn[p] & card) != 0;
            spread += holders > 1;
        }
        EXPECT_GT(spread, 0) << row.name;
    }
}

TEST(FairPlayerTest, SameSeedSameChoicesInPlayAndBidding) {
    std::mt19937_64 rng(99);
    for (int deal = 0; deal < 2; ++deal) {
        uint32_t hands[4];
        CDealSimulator::DealHands(rng, hands);
        SeatPlayers players;
        players.samples[0] = players.samples[2] = 4;
        players.seed = 1234 + deal;
        const PlayedDeal a = CDealSimulator::PlayOut(hands, deal, deal & 3, nullptr, players);
        const PlayedDeal b = CDealSimulator::PlayOut(hands, deal, deal & 3, nullptr, players);
        ASSERT_EQ(a.cards.size(), 32u);
        EXPECT_EQ(a.cards, b.cards);
        const PlayedDeal c = CDealSimulator::BidAndPlay(hands, deal & 3, nullptr, players);
        const PlayedDeal d = CDealSimulator::BidAndPlay(hands, deal & 3, nullptr, players);
        EXPECT_EQ(c.calls, d.calls);
        EXPECT_EQ(c.value, d.value);
        EXPECT_EQ(c.trump, d.trump);
        EXPECT_EQ(c.cards, d.cards);
    }
}

// The fair estimates of a place depend on its own hand only: the same own hand
// among two different deals gives the same row.
TEST(FairPlayerTest, BidEstimatesIgnoreTheHiddenHands) {
    const uint32_t a[4] = {Nat("JH 9H AH 7C AC 8D KD QS"), Nat("7H 8H TC JC 7D 9D 7S 8S"),
                           Nat("QH KH 8C 9C TD JD 9S TS"), Nat("TH QC KC QD AD JS KS AS")};
    const uint32_t b[4] = {a[0], a[3], a[1], a[2]};
    int own[2][5], opp[2][5], best[2];
    for (int i = 0; i < 2; ++i) {
        std::atomic<int> flag{0};
        CBidEvaluator eval(&CBidEvaluator::RulesDeclarations, flag, nullptr, nullptr);
        eval.SetFairPlaces(1, 77);
        eval.SetFairSamples(0, 4);
        eval.StartEvaluation(i == 0 ? a : b, 3, false);
        ASSERT_TRUE(eval.Complete());
        for (int t = 0; t < 5; ++t) {
            own[i][t] = eval.OwnEstimate[0][t];
            opp[i][t] = eval.OpponentEstimate[0][t];
        }
        best[i] = eval.BestTrump[0];
    }
    for (int t = 0; t < 5; ++t) {
        EXPECT_EQ(own[0][t], own[1][t]) << t;
        EXPECT_EQ(opp[0][t], opp[1][t]) << t;
    }
    EXPECT_EQ(best[0], best[1]);
    EXPECT_GE(best[0], 0);
}

namespace {

class FairGameStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int p = 0; p < 4; ++p) {
            hands[p] = std::make_unique<CPlayerHand>(0xFFFF, 8);
            hands[p]->m_nPlace = p;
            g_pHand[p] = hands[p].get();
            g_placeTable[p] = static_cast<uint16_t>(10 + p);
        }
        g_pTable = &table;
        g_contract.trump = kHearts;
        g_bGameRunning = 1;
        CComputerPlayer::SetFair(true);
    }
    void TearDown() override {
        CComputerPlayer::SetFair(false);
        g_pTable = nullptr;
        for (int p = 0; p < 4; ++p) {
            g_pHand[p] = nullptr;
            g_placeTable[p] = 0xFFFF;
            g_declare[p].shown = 0;
        }
        g_bGameRunning = 0;
    }
    void Deal(const std::string cards[4]) {
        table.ResetTricks();
        for (int p = 0; p < 4; ++p) {
            hands[p]->Clear();
            for (int code = 0; code < 52; ++code)
                if ((code < 4 || code >= 24) && (Nat(cards[p]) & NatOf(code)))
                    hands[p]->Add(new CCard(code));
        }
    }
    std::unique_ptr<CPlayerHand> hands[4];
    CTrickPile table{4, 8};
    CaptureSender sender;
};

} // namespace

// The fair player never reads a hidden card: two game states that differ only
// in cards place 0 cannot see give it the same knowledge and, with the same
// seed, the same card.
TEST_F(FairGameStateTest, HiddenCardsDoNotChangeTheChoice) {
    const std::string first[4] = {"JH 9H AH 7C AC 8D KD QS", "7H 8H TC JC 7D 9D 7S 8S",
                                  "QH KH 8C 9C TD JD 9S TS", "TH QC KC QD AD JS KS AS"};
    // Places 1 and 2 swap hidden cards of the same suits; place 3 its unplayed ones with 1.
    const std::string second[4] = {"JH 9H AH 7C AC 8D KD QS", "7H KH TC 9C 7D TD 7S 9S",
                                   "QH 8H 8C JC 9D JD 8S TS", "TH QC KC QD AD JS KS AS"};
    int chosen[2] = {-1, -1};
    uint32_t excluded[2] = {0, 0}, gone[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        Deal(i == 0 ? first : second);
        g_declare[3].shown = 1;
        hands[3]->m_selSet = Nat("JS KS");
        // Trick 1: place 1 leads the seven of diamonds; 2 follows, 3 wins with the ace.
        table.PlayCard(1, Code("7D"));
        table.PlayCard(2, Code("JD"));
        table.PlayCard(3, Code("AD"));
        table.PlayCard(0, Code("8D"));
        // Trick 2: place 3 leads the queen of clubs; place 0 chooses a club.
        table.PlayCard(3, Code("QC"));
        g_contract.turn = 0;
        const CSeatKnowledge k = CComputerPlayer::SeatKnowledge(0);
        excluded[i] = k.Excluded(1) | k.Excluded(2) | k.Excluded(3);
        gone[i] = k.Gone();
        EXPECT_EQ(k.Known(3), Nat("JS KS"));
        EXPECT_EQ(k.OwnHand(), Nat("JH 9H AH 7C AC KD QS"));
        CComputerPlayer::SeedFair(42);
        CComputerPlayer player(sender);
        chosen[i] = player.PlayTurn(0);
    }
    EXPECT_EQ(excluded[0], excluded[1]);
    EXPECT_EQ(gone[0], gone[1]);
    EXPECT_EQ(chosen[0], chosen[1]);
    EXPECT_TRUE(chosen[0] == Code("7C") || chosen[0] == Code("AC")) << chosen[0];
}
