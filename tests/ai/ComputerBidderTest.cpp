// The computer's calls: the quick estimate while the worker runs, double and
// redouble only where allowed, the late case, partner support.
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

constexpr int kClubs = 0, kDiamonds = 1, kHearts = 2, kSpades = 3;

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

    // Runs a complete evaluation and then sets the tables the test needs.
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
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    eval->SetWorkerStartHook([gate] { gate.wait(); });
    ASSERT_EQ(model->PlaceToCall(), 0);
    const int quick = CBidEvaluator::QuickTrumpOf(hands[0]);
    ASSERT_GE(quick, 0);

    bidder->ChooseBid(); // starts the worker, calls from the quick estimate
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(8, quick));
    EXPECT_EQ(sender.sent[0].from, 10);
    EXPECT_EQ(model->QuickTrump(0), quick);

    bidder->ChooseBid(); // the worker still runs: no call
    EXPECT_EQ(sender.sent.size(), 1u);

    release.set_value();
    eval->Join();
    EXPECT_TRUE(eval->Complete());
    bool stepped = false;
    for (auto& s : poster.Steps())
        stepped |= s.first == STEP_BID_TURN;
    EXPECT_TRUE(stepped);

    bidder->ChooseBid(); // the step brought us back: a call from the full estimate
    EXPECT_EQ(sender.sent.size(), 2u);
}

TEST_F(ComputerBidderTest, QuickEstimatePassesFromTen) {
    host.computer[0] = false;
    Bet(0, 10, kClubs);
    ASSERT_EQ(model->PlaceToCall(), 1);
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    eval->SetWorkerStartHook([gate] { gate.wait(); });
    bidder->ChooseBid();
    release.set_value();
    eval->Join();
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(0, CALL_PASS));
    EXPECT_EQ(sender.sent[0].from, 11);
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(model->QuickTrump(p), -1);
}

TEST_F(ComputerBidderTest, NoCallForAPlaceNotPlayedHere) {
    host.computer[0] = false;
    bidder->ChooseBid();
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_FALSE(eval->Running());
}

TEST_F(ComputerBidderTest, NeverDoublesTheOwnSide) {
    Evaluate();
    Bet(0, 8, kHearts);
    Pass(1);
    ASSERT_EQ(model->PlaceToCall(), 2);
    eval->OpponentEstimate[2][kHearts] = 0;
    EXPECT_FALSE(bidder->TryDouble());
    EXPECT_TRUE(sender.sent.empty());
}

TEST_F(ComputerBidderTest, DoublesAfterThreePassesWhenTheOpponentsFallShort) {
    Evaluate();
    Bet(0, 8, kHearts);
    Bet(1, 10, kClubs);
    for (int p : {2, 3, 0, 1})
        Pass(p);
    ASSERT_EQ(model->PlaceToCall(), 2);
    ASSERT_EQ(model->Passes(), 4);
    eval->OpponentEstimate[2][kClubs] = 9; // not below 10 - 1
    EXPECT_FALSE(bidder->TryDouble());
    eval->OpponentEstimate[2][kClubs] = 8;
    EXPECT_TRUE(bidder->TryDouble());
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(1, CALL_DOUBLE));
    EXPECT_EQ(sender.sent[0].from, 12);
}

TEST_F(ComputerBidderTest, EarlyDoubleNeedsAWeakOwnGame) {
    Evaluate();
    Bet(0, 8, kHearts);
    ASSERT_EQ(model->PlaceToCall(), 1);
    eval->OpponentEstimate[1][kHearts] = 5; // below 8 - 2
    eval->BestTrump[1] = kClubs;
    eval->OwnEstimate[1][kClubs] = 20; // strong enough to bid instead
    EXPECT_FALSE(bidder->TryDouble());
    eval->OwnEstimate[1][kClubs] = 11; // 2*8 + 16 > 22
    EXPECT_TRUE(bidder->TryDouble());
}

TEST_F(ComputerBidderTest, RedoublesOnlyWhenDoubledByTheOtherSide) {
    Evaluate();
    Bet(0, 8, kHearts);
    Double(1);
    ASSERT_EQ(model->PlaceToCall(), 2);
    eval->OwnEstimate[2][kHearts] = 8; // not above the value
    bidder->ChooseBid();
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(0, CALL_PASS));
    sender.sent.clear();
    eval->OwnEstimate[2][kHearts] = 9;
    bidder->ChooseBid();
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(2, CALL_REDOUBLE));
}

TEST_F(ComputerBidderTest, PartnersDoubleIsNeverRedoubled) {
    Evaluate();
    Bet(0, 8, kHearts);
    ASSERT_EQ(model->PlaceToCall(), 1);
    model->AddCall(3, 1, CALL_DOUBLE); // the own side doubled its own contract
    eval->OwnEstimate[1][kHearts] = 40;
    bidder->ChooseBid();
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(0, CALL_PASS));
}

TEST_F(ComputerBidderTest, AboveFourteenRaisesTheBestTrumpNotThePartnershipSuit) {
    Evaluate();
    Bet(0, 8, kSpades);
    Bet(1, 15, kClubs);
    ASSERT_EQ(model->PlaceToCall(), 2);
    eval->OpponentEstimate[2][kClubs] = 20; // no double
    eval->BestTrump[2] = kHearts;
    eval->OwnEstimate[2][kHearts] = 16;
    eval->OwnEstimate[2][kSpades] = 30; // the partnership's suit
    ASSERT_EQ(model->PartnershipSuit(2), kSpades);
    EXPECT_TRUE(bidder->TryBet());
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(16, kHearts));
}

TEST_F(ComputerBidderTest, BelowFifteenSwitchesToThePartnershipSuit) {
    Evaluate();
    Bet(0, 8, kSpades);
    Bet(1, 9, kClubs);
    eval->BestTrump[2] = kHearts;
    eval->OwnEstimate[2][kHearts] = 16;
    eval->OwnEstimate[2][kSpades] = 12;
    EXPECT_TRUE(bidder->TryBet());
    EXPECT_EQ(sender.sent.back().text, BetText(10, kSpades));
}

TEST_F(ComputerBidderTest, LateCaseOnTheContractSuitBidsItsEstimate) {
    Evaluate();
    Bet(0, 8, kSpades);
    Bet(1, 15, kHearts);
    eval->BestTrump[2] = kHearts;
    eval->OwnEstimate[2][kHearts] = 20; // below 25: 18
    EXPECT_TRUE(bidder->TryBet());
    EXPECT_EQ(sender.sent.back().text, BetText(18, kHearts));
}

TEST_F(ComputerBidderTest, AfterThreePassesTheLateCaseApplies) {
    Evaluate();
    host.computer[1] = false;
    Bet(0, 8, kSpades);
    Bet(1, 9, kClubs);
    Pass(2);
    Pass(3);
    Pass(0);
    ASSERT_EQ(model->Passes(), 3);
    ASSERT_EQ(model->PlaceToCall(), 1);
    eval->BestTrump[1] = kHearts;
    eval->OwnEstimate[1][kHearts] = 10;
    model->SetPartnershipSuit(1, kDiamonds);
    eval->OwnEstimate[1][kDiamonds] = 30;
    EXPECT_TRUE(bidder->TryBet());
    EXPECT_EQ(sender.sent.back().text, BetText(10, kHearts));
}

TEST_F(ComputerBidderTest, PartnerSupportRaisesWithJackAndNine) {
    Evaluate();
    Bet(0, 8, kHearts);
    Pass(1);
    ASSERT_EQ(model->PlaceToCall(), 2);
    ASSERT_EQ(model->RaiseCount(2), 1);
    eval->OwnEstimate[2][kHearts] = 12;
    bidder->ChooseBid();
    // Jack +2, nine +1, the seven of hearts keeps the -1 away.
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(11, kHearts));
    EXPECT_EQ(model->RaiseFlag(2, kHearts), 1);
    EXPECT_EQ(host.waited, 200);
}

TEST_F(ComputerBidderTest, PartnerSupportPassesWhenItsBestTrumpIsThePartnersSuit) {
    Evaluate();
    Bet(0, 8, kHearts);
    Pass(1);
    eval->OwnEstimate[2][kHearts] = 10; // cannot reach 11
    eval->BestTrump[2] = kHearts;
    bidder->ChooseBid();
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(0, CALL_PASS));
}

TEST_F(ComputerBidderTest, SecondSupportCountsAcesOutsideTheSuit) {
    Evaluate();
    Bet(0, 8, kHearts);
    Pass(1);
    model->SetRaiseFlag(2, kHearts, 1);
    eval->OwnEstimate[2][kHearts] = 11; // three aces outside hearts: 8 + 3
    bidder->ChooseBid();
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(11, kHearts));
    EXPECT_EQ(model->RaiseFlag(2, kHearts), 2);
}

TEST_F(ComputerBidderTest, BetAtNeedsACompleteEstimateAndEnoughPoints) {
    EXPECT_FALSE(bidder->BetAt(kHearts, 8)); // nothing evaluated yet
    Evaluate();
    eval->OwnEstimate[0][kHearts] = 9;
    EXPECT_FALSE(bidder->BetAt(kHearts, 10));
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_TRUE(bidder->BetAt(kHearts, 9));
    EXPECT_EQ(sender.sent.back().text, BetText(9, kHearts));
}

TEST_F(ComputerBidderTest, ABetAboveTheTopValueBecomesAPass) {
    Evaluate();
    Bet(0, 82, kHearts);
    ASSERT_EQ(model->PlaceToCall(), 1);
    eval->OpponentEstimate[1][kHearts] = 90; // no double
    eval->BestTrump[1] = kClubs;
    eval->OwnEstimate[1][kClubs] = 90;
    bidder->ChooseBid();
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(0, CALL_PASS));
}

TEST_F(ComputerBidderTest, AskingAgainDuringThePauseMakesNoSecondCall) {
    Evaluate();
    eval->BestTrump[0] = kHearts;
    eval->OwnEstimate[0][kHearts] = 12;
    host.onWait = [this] { bidder->ChooseBid(); };
    bidder->ChooseBid();
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].text, BetText(8, kHearts));
}

TEST_F(ComputerBidderTest, ACallArrivingDuringThePauseCancelsTheChoice) {
    Evaluate();
    eval->BestTrump[0] = kHearts;
    eval->OwnEstimate[0][kHearts] = 12;
    host.onWait = [this] {
        host.onWait = nullptr;
        Double(3); // out of turn, while place 0 pauses
    };
    bidder->ChooseBid();
    EXPECT_TRUE(sender.sent.empty());
}
