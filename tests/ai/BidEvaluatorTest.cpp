// The bid evaluation: the quick estimate, the play-outs with the 250 rule,
// cancelling.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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

} // namespace

TEST(QuickEstimateTest, ScoresPerTrump) {
    struct Row {
        const char* hand;
        int trump, score;
    };
    const Row rows[] = {
        // Hearts: trump byte 0xF0, plus the plain bytes 128 + 33 + 128.
        {"JH 9H AH TH AS AC KD 7D", kHearts, 529},
        // Clubs with the lone ace: 32 - 200 - 50, plus 33 + 204 + 128.
        {"JH 9H AH TH AS AC KD 7D", kClubs, 147},
        // Two trumps with the jack lose a third: 129 - 43, plain A K in three suits.
        {"JH 7H AS AC AD KS KC KD", kHearts, 129 - 43 + 480},
        {"AS TS AC TC AD TD 7H 8H", kNoTrumps, 579},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CBidEvaluator::QuickScore(Nat(row.hand), row.trump), row.score) << row.hand;
    EXPECT_EQ(CBidEvaluator::QuickTrumpOf(Nat("JH 9H AH TH AS AC KD 7D")), kHearts);
    EXPECT_EQ(CBidEvaluator::QuickTrumpOf(Nat("7C 8C 7D 8D 7H 8H 7S 8S")), -1); // below 200
    EXPECT_EQ(CBidEvaluator::QuickTrumpOf(Nat("AS TS AC TC AD TD 7H 8H")), kNoTrumps);
}

class EvaluationTest : public ::testing::Test {
protected:
    // Place 0 holds every heart.
    const uint32_t hands[4] = {Nat("7H 8H 9H TH JH QH KH AH"), Nat("7C 8C 9C TC JC QC KC AC"),
                               Nat("7D 8D 9D TD JD QD KD AD"), Nat("7S 8S 9S TS JS QS KS AS")};
    std::atomic<int> searchFlag{0};
    CapturePoster poster;
};

TEST_F(EvaluationTest, AllTricksCountTwoHundredFifty) {
    CBidEvaluator eval(&NoDeclarations, searchFlag, nullptr, &poster);
    eval.StartEvaluation(hands, 3, false); // place 0 leads
    ASSERT_TRUE(eval.Complete());
    // Hearts: 250 and the king and queen (20) for place 0's side.
    EXPECT_EQ(eval.OwnEstimate[0][kHearts], 27);
    EXPECT_EQ(eval.OpponentEstimate[0][kHearts], 0);
    EXPECT_EQ(eval.OwnEstimate[2][kHearts], 25); // the partner's pair is not counted
    EXPECT_EQ(eval.OpponentEstimate[3][kHearts], 27);
    EXPECT_EQ(eval.BestTrump[0], kHearts);
    auto steps = poster.Steps();
    ASSERT_EQ(steps.size(), 1u) << "the step comes after a normal end";
    EXPECT_EQ(steps[0].first, STEP_BID_TURN);
}

TEST_F(EvaluationTest, CancelledOrDestroyedEvaluationsPostNothing) {
    CBidEvaluator eval(&NoDeclarations, searchFlag, nullptr, &poster);
    eval.SetWorkerStartHook([&eval] { eval.RequestCancel(); });
    eval.StartEvaluation(hands, 3, true);
    eval.Join();
    EXPECT_FALSE(eval.Complete());
    auto doomed = std::make_unique<CBidEvaluator>(&NoDeclarations, searchFlag, nullptr, &poster);
    doomed->SetWorkerStartHook([] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
    doomed->StartEvaluation(hands, 3, true);
    doomed.reset(); // cancels before the play-outs start and waits for the thread
    EXPECT_TRUE(poster.Steps().empty());
}
