// The computer's calls: the quick estimate while the worker runs, double and
// redouble only where allowed, the pause before a call.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

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

class ComputerBidderTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (bool& c : host.computer)
            c = true;
        model = std::make_unique<CBiddingModel>(host, sender, poster);
        eval = std::make_unique<CBidEvaluator>(&NoDeclarations, searchFlag, nullptr, &poster);
        bidder = std::make_unique<CComputerBidder>(*model, *eval, [this](uint32_t out[4]) {
            for (int p = 0; p < 4; ++p)
                out[p] = hands[p];
        });
        model->Open();
    }

    // A fresh model, evaluator and bidder for another case in the same test.
    void Restart() {
        bidder.reset();
        eval.reset();
        model.reset();
        host.onWait = nullptr;
        SetUp();
    }

    // Runs a complete evaluation, then sets weak tables the test changes as needed.
    void Evaluate() {
        bidder->SetThreaded(false);
        bidder->StartEvaluation();
        ASSERT_TRUE(eval->Complete());
        for (int p = 0; p < 4; ++p) {
            eval->BestTrump[p] = kClubs;
            for (int t = 0; t < 5; ++t) {
                eval->OwnEstimate[p][t] = 0;
                eval->OpponentEstimate[p][t] = 20;
            }
        }
        sender.sent.clear();
    }
    // The worker waits at its start until the returned promise is kept.
    std::promise<void> HoldWorker() {
        std::promise<void> release;
        std::shared_future<void> gate = release.get_future().share();
        eval->SetWorkerStartHook([gate] { gate.wait(); });
        return release;
    }
    // The one call sent since the last check.
    std::string Sent() {
        EXPECT_EQ(sender.sent.size(), 1u);
        std::string text = sender.sent.empty() ? "" : sender.sent.back().text;
        sender.sent.clear();
        return text;
    }

    void Bet(int place, int value, int suit) {
        model->OnBidCommand(10 + place, value + 1, suit + 1);
    }
    void Pass(int place) { model->OnBidCommand(10 + place, 1, CALL_PASS + 1); }
    void Double(int place) { model->OnBidCommand(10 + place, 2, CALL_DOUBLE + 1); }

    const uint32_t hands[4] = {Nat("AH TH KH QH 7C 8C 9C TC"), Nat("JC QC KC 7D 8D 9D TD JD"),
                               Nat("JH 9H 7H AS AC QD KD AD"), Nat("8H 7S 8S 9S TS JS QS KS")};
    FakeHost host;
    CaptureSender sender;
    CapturePoster poster;
    std::atomic<int> searchFlag{0};
    std::unique_ptr<CBiddingModel> model;
    std::unique_ptr<CBidEvaluator> eval;
    std::unique_ptr<CComputerBidder> bidder;
};

} // namespace

TEST_F(ComputerBidderTest, QuickEstimateFirstThenNoCallWhileTheWorkerRuns) {
    auto release = HoldWorker();
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
    bool stepped = false;
    for (auto& s : poster.Steps())
        stepped |= s.first == STEP_BID_TURN;
    EXPECT_TRUE(stepped);
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

TEST_F(ComputerBidderTest, RedoublesOnlyWhenDoubledByTheOtherSide) {
    Evaluate();
    Bet(0, 8, kHearts);
    Double(1);
    eval->OwnEstimate[2][kHearts] = 8; // not above the value
    bidder->ChooseBid();
    EXPECT_EQ(Sent(), BetText(0, CALL_PASS));
    eval->OwnEstimate[2][kHearts] = 9;
    bidder->ChooseBid();
    EXPECT_EQ(Sent(), BetText(2, CALL_REDOUBLE));
}

TEST_F(ComputerBidderTest, ThePauseBeforeACall) {
    Evaluate();
    eval->BestTrump[0] = kHearts;
    eval->OwnEstimate[0][kHearts] = 12;
    host.onWait = [this] {
        host.onWait = nullptr;
        Double(3); // out of turn, while place 0 pauses
    };
    bidder->ChooseBid();
    EXPECT_TRUE(sender.sent.empty()) << "a call arriving during the pause cancels the choice";
    Restart();
    Evaluate();
    eval->BestTrump[0] = kHearts;
    eval->OwnEstimate[0][kHearts] = 12;
    host.onWait = [this] { bidder->ChooseBid(); }; // asking again makes no second call
    bidder->ChooseBid();
    EXPECT_EQ(Sent(), BetText(8, kHearts));
}
