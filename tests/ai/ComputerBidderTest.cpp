// The computer's calls: the quick estimate while the worker runs, doubling and raising.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>

#include "ai/CBidEvaluator.h"
#include "ai/CBiddingModel.h"
#include "ai/CComputerBidder.h"
#include "ai/GameCommands.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {

constexpr int kClubs = 0, kHearts = 2;

DeclarationEstimate NoDeclarations(uint32_t, int) {
    return {};
}

std::string BetText(int value, int suit) {
    return std::string{static_cast<char>(value + 1), static_cast<char>(suit + 1)};
}

// Every place played by the computer, with an evaluator and a bidder over fixed hands.
class ComputerBidderTest : public BiddingTest {
protected:
    void SetUp() override {
        for (bool& c : host.computer)
            c = true;
        Make();
        eval = std::make_unique<CBidEvaluator>(&NoDeclarations, searchFlag, nullptr, &poster);
        bidder = std::make_unique<CComputerBidder>(
            *model, *eval, [this](uint32_t out[4]) { std::copy(hands, hands + 4, out); });
    }
    // Runs a complete evaluation, then sets weak tables the test changes as needed.
    void Evaluate() {
        bidder->SetThreaded(false);
        bidder->StartEvaluation();
        ASSERT_TRUE(eval->Complete());
        for (int p = 0; p < 4; ++p) {
            eval->BestTrump[p] = kClubs;
            std::fill_n(eval->OwnEstimate[p], 5, 0);
            std::fill_n(eval->OpponentEstimate[p], 5, 20);
        }
        sender.sent.clear();
    }
    // The one call sent since the last check.
    std::string Sent() {
        EXPECT_EQ(sender.sent.size(), 1u);
        std::string text = sender.sent.empty() ? "" : sender.sent.back().text;
        sender.sent.clear();
        return text;
    }

    const uint32_t hands[4] = {Nat("AH TH KH QH 7C 8C 9C TC"), Nat("JC QC KC 7D 8D 9D TD JD"),
                               Nat("JH 9H 7H AS AC QD KD AD"), Nat("8H 7S 8S 9S TS JS QS KS")};
    std::atomic<int> searchFlag{0};
    std::unique_ptr<CBidEvaluator> eval;
    std::unique_ptr<CComputerBidder> bidder;
};

} // namespace

TEST_F(ComputerBidderTest, QuickEstimateFirstThenNoCallWhileTheWorkerRuns) {
    std::promise<void> release; // the worker waits at its start until it is kept
    eval->SetWorkerStartHook([gate = release.get_future().share()] { gate.wait(); });
    const int quick = CBidEvaluator::QuickTrumpOf(hands[0]);
    ASSERT_GE(quick, 0);
    bidder->ChooseBid(); // starts the worker, calls from the quick estimate
    EXPECT_EQ(sender.sent.at(0).from, 10);
    EXPECT_EQ(Sent(), BetText(8, quick));
    EXPECT_EQ(model->QuickTrump(0), quick);
    bidder->ChooseBid(); // the worker still runs: no call
    EXPECT_TRUE(sender.sent.empty());
    release.set_value();
    eval->Join();
    const auto steps = poster.Steps();
    EXPECT_TRUE(std::any_of(steps.begin(), steps.end(),
                            [](const auto& s) { return s.first == STEP_BID_TURN; }));
    bidder->ChooseBid(); // the step brought us back: a call from the full estimate
    EXPECT_EQ(sender.sent.size(), 1u);
}

TEST_F(ComputerBidderTest, DoublesOnlyTheOtherSideWhenItFallsShort) {
    Evaluate();
    Bet(0, 8, kHearts);
    ASSERT_EQ(model->PlaceToCall(), 1);
    eval->OpponentEstimate[1][kHearts] = 5; // below 8 - 2
    eval->BestTrump[1] = kClubs;
    eval->OwnEstimate[1][kClubs] = 20; // strong enough to bid instead
    EXPECT_FALSE(bidder->TryDouble());
    eval->OwnEstimate[1][kClubs] = 11; // 2*8 + 16 > 22
    EXPECT_TRUE(bidder->TryDouble());
    EXPECT_EQ(Sent(), BetText(1, CALL_DOUBLE));
    Bet(1, 10, kClubs);
    for (int p : {2, 3, 0, 1})
        Pass(p);
    ASSERT_EQ(model->PlaceToCall(), 2);
    ASSERT_EQ(model->Passes(), 4);
    eval->OpponentEstimate[2][kClubs] = 9; // not below 10 - 1
    EXPECT_FALSE(bidder->TryDouble());
    eval->OpponentEstimate[2][kClubs] = 8;
    EXPECT_TRUE(bidder->TryDouble());
    EXPECT_EQ(sender.sent.at(0).from, 12);
    EXPECT_EQ(Sent(), BetText(1, CALL_DOUBLE));
}

// After three passes the holder of the contract raises it to its estimate in the
// contract's suit: from 25 up the whole estimate, not one point less.
TEST_F(ComputerBidderTest, RaisesTheOwnContractToItsEstimateAfterThreePasses) {
    Evaluate();
    Bet(0, 8, kHearts);
    for (int p : {1, 2, 3})
        Pass(p);
    ASSERT_EQ(model->PlaceToCall(), 0);
    eval->BestTrump[0] = kHearts;
    eval->OwnEstimate[0][kHearts] = 25;
    bidder->ChooseBid();
    EXPECT_EQ(Sent(), BetText(25, kHearts));
}
