// The fair computer player: what its seat knows and the deals it samples.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <random>

#include "ai/CBidEvaluator.h"
#include "ai/CDealSampler.h"
#include "ai/CSeatKnowledge.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {

constexpr int kClubs = 0, kHearts = 2;

// A sampled deal keeps the own hand, gives every place its known cards and hand size,
// no card gone or shown lacking, and deals every card not gone exactly once.
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
        {"no spade after not following",
         kNoTrumps,
         0,
         {"AS", "7S", "7C"},
         2,
         "7S 8S 9S TS JS QS KS AS"},
        {"no spade nor trump after a discard on an opponent's spade",
         kHearts,
         0,
         {"AS", "8C"},
         1,
         "8S 9H JH AH TH KH QH"},
        {"no trump above the nine after the seven under it", kHearts, 0, {"9H", "7H"}, 1, "JH"},
        {"partner wins: a discard shows only the missing suit",
         kClubs,
         3,
         {"AD", "KD", "8S"},
         1,
         "7D 8D 9D TD JD QD"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // The seat is the place that has not played yet; the place after it has
        // shown the jack of spades with a declaration.
        const int me = (row.leader + 3) & 3, shows = (me + 1) & 3;
        const uint32_t own = Nat("7D 8D QC KC AC 9C 8H QS");
        CSeatKnowledge k(me, own, row.trump, row.leader);
        for (size_t i = 0; i < row.cards.size(); ++i)
            k.Observe((row.leader + static_cast<int>(i)) & 3, Code(row.cards[i]));
        const uint32_t lacks = Nat(row.lacks) & ~k.Gone() & ~own;
        EXPECT_EQ(k.Excluded(row.place) & lacks, lacks);
        k.AddShown(shows, Nat("JS"));
        CDealSampler sampler(k);
        std::mt19937_64 rng(5);
        uint32_t seenIn[4] = {0, 0, 0, 0};
        for (int i = 0; i < 200; ++i) {
            uint32_t hands[4];
            ASSERT_TRUE(sampler.Sample(rng, hands));
            ExpectConsistent(k, hands);
            for (int p = 0; p < 4; ++p)
                seenIn[p] |= hands[p];
        }
        // Not one fixed deal: some free card turns up in more than one hand.
        uint32_t shared = 0;
        for (int p = 0; p < 4; ++p)
            for (int q = p + 1; q < 4; ++q)
                shared |= seenIn[p] & seenIn[q];
        EXPECT_NE(shared & ~k.Gone() & ~own & ~Nat("JS"), 0u);
    }
}

// The fair estimates of a place depend on its own hand only: the same own hand
// among two different deals gives the same row.
TEST(FairPlayerTest, BidEstimatesIgnoreTheHiddenHands) {
    const uint32_t a[4] = {Nat("JH 9H AH 7C AC 8D KD QS"), Nat("7H 8H TC JC 7D 9D 7S 8S"),
                           Nat("QH KH 8C 9C TD JD 9S TS"), Nat("TH QC KC QD AD JS KS AS")};
    const uint32_t b[4] = {a[0], a[3], a[1], a[2]};
    std::vector<int> row[2];
    for (int i = 0; i < 2; ++i) {
        std::atomic<int> flag{0};
        CBidEvaluator eval(&CBidEvaluator::RulesDeclarations, flag, nullptr, nullptr);
        eval.SetFairPlaces(1, 77);
        eval.SetFairSamples(0, 4);
        eval.StartEvaluation(i == 0 ? a : b, 3, false);
        ASSERT_TRUE(eval.Complete());
        row[i].assign(eval.OwnEstimate[0], eval.OwnEstimate[0] + 5);
        row[i].insert(row[i].end(), eval.OpponentEstimate[0], eval.OpponentEstimate[0] + 5);
        row[i].push_back(eval.BestTrump[0]);
    }
    EXPECT_EQ(row[0], row[1]);
    EXPECT_GE(row[0].back(), 0) << "a best trump";
}
