// The bidding panel's model: the turn, automatic passes, the end of the bidding and
// the bounds of a restored state.
#include <gtest/gtest.h>

#include "ai/CBiddingModel.h"
#include "ai/GameCommands.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {

constexpr int kHearts = 2;

using BiddingModelTest = BiddingTest;

std::vector<int> OutcomeOf(const BiddingOutcome& o) {
    return {o.value, o.trump, o.declarer, o.turn, o.doubledBy, o.redoubledBy, o.doubleLevel};
}

} // namespace

TEST_F(BiddingModelTest, HowContractsEnd) {
    for (int p = 0; p < 4; ++p) // four passes without a contract
        Pass(p);
    ASSERT_TRUE(model->IsOver());
    EXPECT_EQ(host.committed.at(0).value, -1);
    EXPECT_EQ(poster.Steps().back(), std::make_pair(int(STEP_ANNOUNCE_DEAL), intptr_t(10)));

    Make();
    Bet(0, 8, kHearts); // undoubled: the fifth pass ends it
    for (int p : {1, 2, 3, 0})
        Pass(p);
    EXPECT_FALSE(model->IsOver());
    Pass(1);
    ASSERT_TRUE(model->IsOver());
    EXPECT_EQ(OutcomeOf(host.committed.at(1)), (std::vector<int>{8, kHearts, 0, 0, -1, -1, 0}));

    Make(); // doubled: the partners of the doubler pass automatically, four passes end it
    Bet(0, 8, kHearts);
    Double(1);
    EXPECT_TRUE(model->IsFinished(1));
    EXPECT_TRUE(model->IsFinished(3));
    EXPECT_EQ(model->PlaceToCall(), 2);
    Pass(2);
    Pass(0);
    ASSERT_TRUE(model->IsOver());
    EXPECT_EQ(OutcomeOf(host.committed.at(2)), (std::vector<int>{8, kHearts, 0, 0, 1, -1, 1}));

    Make(); // redoubled: ends at once
    Bet(0, 8, kHearts);
    Double(1);
    Redouble(2);
    ASSERT_TRUE(model->IsOver());
    EXPECT_EQ(OutcomeOf(host.committed.at(3)), (std::vector<int>{8, kHearts, 0, 0, 1, 2, 2}));
}

TEST_F(BiddingModelTest, MalformedOrForeignCallsChangeNothing) {
    model->OnBidCommand(99, 9, 3);  // nobody at the table
    model->OnBidCommand(10, 9, 12); // no such suit byte
    model->OnBidCommand(10, 90, 3); // bet above 82
    model->OnBidCommand(10, 8, 9);  // the internal automatic pass
    EXPECT_EQ(model->LogLength(), 0);
    EXPECT_EQ(model->PlaceToCall(), 0);
}

TEST_F(BiddingModelTest, RestoreAndTheLogAreBounded) {
    const uint8_t tiny[4] = {1, 0, 0, 0};
    EXPECT_FALSE(model->RestoreState(tiny, sizeof tiny));
    std::vector<uint8_t> huge(kBiddingSaveMax + 1, 1);
    EXPECT_FALSE(model->RestoreState(huge.data(), huge.size()));
    const uint8_t block[] = {1, 8, 2, 9, 200, 77, 2, 0, 0, 0, 0}; // a broken call is skipped
    ASSERT_TRUE(model->RestoreState(block, sizeof block));
    EXPECT_EQ(model->LogLength(), 3);
    EXPECT_EQ(model->ContractValue(), 8);
    EXPECT_EQ(model->PlaceToCall(), 1);
    Make();
    host.bidRule = 1000; // an undoubled contract never ends by passes
    Bet(0, 8, kHearts);
    for (int i = 0; i < 200; ++i)
        Pass(model->PlaceToCall());
    EXPECT_LE(model->LogLength(), kBidLogSize);
    EXPECT_EQ(model->LogLength() % 3, 0);
    EXPECT_LE(model->SaveState().size(), static_cast<size_t>(kBiddingSaveMax));
}
