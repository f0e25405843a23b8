// The bid evaluation: the quick estimate, the declaration estimates, the five
// play-outs with the 250 rule and the king-and-queen adjustments, cancelling.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "ai/CBidEvaluator.h"
#include "ai/GameCommands.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {

constexpr int kClubs = 0, kHearts = 2, kNoTrumps = 4;

DeclarationEstimate NoDeclarations(uint32_t, int) {
    return {};
}

// Declarations by hand: a fixed table keyed by the hand's cards.
uint32_t g_declHands[4];
DeclarationEstimate g_declValues[4];
DeclarationEstimate TableDeclarations(uint32_t cards, int) {
    for (int p = 0; p < 4; ++p)
        if (g_declHands[p] == cards) return g_declValues[p];
    return {};
}

} // namespace

TEST(QuickEstimateTest, ScoresPerTrump) {
    struct Row {
        const char* hand;
        int trump, score;
    };
    const Row rows[] = {
        // Hearts: trump byte 0xF0, plus the plain bytes 128 + 33 + 128.
        {"JH 9H AH TH AS AC KD 7D", kHearts, 529},
        {"JH 9H AH TH AS AC KD 7D", kNoTrumps, 493},
        // Clubs with the lone ace: 32 - 200 - 50, plus 33 + 204 + 128.
        {"JH 9H AH TH AS AC KD 7D", kClubs, 147},
        // 0x0D + 3 cards without the nine (30) + king and queen (60), plus 3 + 3 + 1.
        {"KH QH 7H 7C 8C 7D 8D 7S", kHearts, 110},
        // Two trumps with the jack lose a third: 129 - 43, plain A K in three suits.
        {"JH 7H AS AC AD KS KC KD", kHearts, 129 - 43 + 480},
        {"7C 8C 7D 8D 7H 8H 7S 8S", kNoTrumps, 12},
        {"AS TS AC TC AD TD 7H 8H", kNoTrumps, 579},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CBidEvaluator::QuickScore(Nat(row.hand), row.trump), row.score) << row.hand;
    EXPECT_EQ(CBidEvaluator::QuickTrumpOf(Nat("JH 9H AH TH AS AC KD 7D")), kHearts);
    EXPECT_EQ(CBidEvaluator::QuickTrumpOf(Nat("KH QH 7H 7C 8C 7D 8D 7S")), -1); // below 200
    EXPECT_EQ(CBidEvaluator::QuickTrumpOf(Nat("7C 8C 7D 8D 7H 8H 7S 8S")), -1);
    EXPECT_EQ(CBidEvaluator::QuickTrumpOf(Nat("AS TS AC TC AD TD 7H 8H")), kNoTrumps);
}

class EvaluationTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int p = 0; p < 4; ++p) {
            g_declHands[p] = hands[p];
            g_declValues[p] = {};
        }
    }
    // Place 0 holds every heart.
    const uint32_t hands[4] = {Nat("7H 8H 9H TH JH QH KH AH"), Nat("7C 8C 9C TC JC QC KC AC"),
                               Nat("7D 8D 9D TD JD QD KD AD"), Nat("7S 8S 9S TS JS QS KS AS")};
    std::atomic<int> searchFlag{0};
    CapturePoster poster;
};

TEST_F(EvaluationTest, DeclarationEstimatesGoToTheBetterSide) {
    g_declValues[0] = {50, 20};
    g_declValues[1] = {20, 10};
    g_declValues[3] = {100, 30};
    CBidEvaluator eval(&TableDeclarations, searchFlag, nullptr, &poster);
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    eval.SetWorkerStartHook([gate] { gate.wait(); });
    eval.StartEvaluation(hands, 3, true);
    EXPECT_TRUE(eval.Running());
    // Place 0: 20 is above left (10) but not above right (30).
    EXPECT_EQ(eval.OwnEstimate[0][kHearts], 0);
    EXPECT_EQ(eval.OpponentEstimate[0][kHearts], (20 + 100) / 10);
    // Place 3: 30 above both neighbours (0 and 20).
    EXPECT_EQ(eval.OwnEstimate[3][kHearts], 10);
    EXPECT_EQ(eval.OpponentEstimate[3][kHearts], 0);
    EXPECT_EQ(eval.OpponentEstimate[2][kClubs], (20 + 100) / 10);
    release.set_value();
    eval.Join();
    EXPECT_TRUE(eval.Complete());
    EXPECT_FALSE(eval.Running());
    eval.ClearFlags(); // a new panel
    EXPECT_FALSE(eval.Complete());
}

TEST_F(EvaluationTest, AllTricksCountTwoHundredFifty) {
    CBidEvaluator eval(&NoDeclarations, searchFlag, nullptr, &poster);
    eval.StartEvaluation(hands, 3, false); // place 0 leads
    ASSERT_TRUE(eval.Complete());
    // Hearts: 250 and the king and queen (20) for place 0's side.
    EXPECT_EQ(eval.OwnEstimate[0][kHearts], 27);
    EXPECT_EQ(eval.OpponentEstimate[0][kHearts], 0);
    EXPECT_EQ(eval.OwnEstimate[2][kHearts], 25); // the partner's pair is not counted
    EXPECT_EQ(eval.OpponentEstimate[3][kHearts], 27);
    EXPECT_EQ(eval.OwnEstimate[0][kNoTrumps], 25);
    EXPECT_EQ(eval.BestTrump[0], kHearts);
    auto steps = poster.Steps();
    ASSERT_EQ(steps.size(), 1u) << "the step comes after a normal end";
    EXPECT_EQ(steps[0].first, STEP_BID_TURN);
    EXPECT_EQ(searchFlag.load(), 0);

    g_declValues[1] = {100, 38}; // four kings would be worth this; place 1 alone
    CBidEvaluator withKings(&TableDeclarations, searchFlag, nullptr, &poster);
    withKings.StartEvaluation(hands, 3, false);
    ASSERT_TRUE(withKings.Complete());
    // Place 1's side takes nothing in hearts: above nine loses two, 10 - 2 + 0.
    EXPECT_EQ(withKings.OwnEstimate[1][kHearts], 8);
}

TEST_F(EvaluationTest, CancelledOrDestroyedEvaluationsPostNothing) {
    CBidEvaluator eval(&NoDeclarations, searchFlag, nullptr, &poster);
    eval.SetWorkerStartHook([&eval] { eval.RequestCancel(); });
    eval.StartEvaluation(hands, 3, true);
    eval.Join();
    EXPECT_FALSE(eval.Complete());
    EXPECT_FALSE(eval.Running());
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(eval.BestTrump[p], -1);
    auto doomed = std::make_unique<CBidEvaluator>(&NoDeclarations, searchFlag, nullptr, &poster);
    doomed->SetWorkerStartHook([] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
    doomed->StartEvaluation(hands, 3, true);
    doomed.reset(); // cancels before the play-outs start and waits for the thread
    EXPECT_TRUE(poster.Steps().empty());
}
