// The bidding panel's model: calls and their commands, the turn, automatic
// passes, the end of the bidding, column alignment, and save/restore.
#include <gtest/gtest.h>

#include <memory>

#include "ai/CBiddingModel.h"
#include "ai/GameCommands.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {

constexpr int kClubs = 0, kHearts = 2;

class BiddingModelTest : public ::testing::Test {
protected:
    void Make(int rowsPerPage = 5) {
        model = std::make_unique<CBiddingModel>(host, sender, poster, rowsPerPage);
        model->Open();
    }
    void SetUp() override { Make(); }

    // A call arriving from the user at `place`.
    void Bet(int place, int value, int suit) {
        model->OnBidCommand(10 + place, value + 1, suit + 1);
    }
    void Pass(int place) { model->OnBidCommand(10 + place, 1, CALL_PASS + 1); }
    void Double(int place) { model->OnBidCommand(10 + place, 2, CALL_DOUBLE + 1); }
    void Redouble(int place) { model->OnBidCommand(10 + place, 3, CALL_REDOUBLE + 1); }

    bool Posted(int step) {
        for (auto& s : poster.Steps())
            if (s.first == step) return true;
        return false;
    }

    FakeHost host;
    CaptureSender sender;
    CapturePoster poster;
    std::unique_ptr<CBiddingModel> model;
};

} // namespace

TEST_F(BiddingModelTest, OpenStartsLeftOfTheDealer) {
    EXPECT_EQ(model->PlaceToCall(), 0);
    EXPECT_EQ(host.bidder, 0);
    EXPECT_EQ(host.contractsCleared, 1);
    EXPECT_TRUE(model->Controls().pass);
    EXPECT_TRUE(model->Controls().bet);
    EXPECT_FALSE(model->Controls().dbl);
    EXPECT_EQ(model->Controls().defaultButton, 0);
    EXPECT_FALSE(model->IsOver());
}

TEST_F(BiddingModelTest, CallsAreSentAsBidCommands) {
    model->Pass();
    model->SetSpinValue(9);
    EXPECT_EQ(model->Bet(kHearts, false), BetResult::Sent);
    ASSERT_EQ(sender.sent.size(), 2u);
    EXPECT_EQ(sender.sent[0].cmd, CMD_BID);
    EXPECT_EQ(sender.sent[0].text, std::string("\x01\x08"));
    EXPECT_EQ(sender.sent[0].from, 10);
    EXPECT_EQ(sender.sent[1].text, std::string("\x0A\x03"));
    model->Double(true);
    model->Redouble(false);
    EXPECT_EQ(sender.sent[2].text, std::string("\x02\x06"));
    EXPECT_EQ(sender.sent[2].from, -1);
    EXPECT_EQ(sender.sent[3].text, std::string("\x03\x07"));
    EXPECT_EQ(sender.sent[3].from, 10);
    model->ToggleOwnFinish(true);
    EXPECT_EQ(sender.sent[4].cmd, CMD_BID_FINISH);
    EXPECT_EQ(sender.sent[4].text, std::string("\x02"));
    EXPECT_FALSE(model->IsFinished(0)); // changes only when the command comes back
}

TEST_F(BiddingModelTest, OwnBetOutsideTheRangeSendsNothing) {
    model->SetSpinValue(83);
    EXPECT_EQ(model->Bet(kClubs, true), BetResult::InvalidValue);
    model->SetSpinValue(7);
    EXPECT_EQ(model->Bet(kClubs, false), BetResult::InvalidValue);
    EXPECT_TRUE(sender.sent.empty());
}

TEST_F(BiddingModelTest, AutoValueRaisesByOneForOtherPlaces) {
    Bet(0, 12, kHearts);
    ASSERT_EQ(model->PlaceToCall(), 1);
    model->SetSpinValue(40);
    EXPECT_EQ(model->Bet(kClubs, true), BetResult::Sent);
    EXPECT_EQ(sender.sent.back().text, std::string("\x0E\x01")); // 13 clubs
    EXPECT_EQ(sender.sent.back().from, 11);
}

TEST_F(BiddingModelTest, FourPassesWithoutContractEndTheBidding) {
    for (int p = 0; p < 3; ++p)
        Pass(p);
    EXPECT_FALSE(model->IsOver());
    Pass(3);
    ASSERT_TRUE(model->IsOver());
    ASSERT_EQ(host.committed.size(), 1u);
    EXPECT_EQ(host.committed[0].declarer, -1);
    EXPECT_EQ(host.committed[0].value, -1);
    EXPECT_EQ(host.committed[0].trump, -1);
    EXPECT_EQ(host.committed[0].turn, -1);
    EXPECT_EQ(host.bidder, -1);
    EXPECT_GE(host.searchesStopped, 1);
    EXPECT_TRUE(model->Controls().close);
    EXPECT_FALSE(model->Controls().pass);
    EXPECT_EQ(model->Controls().defaultButton, 4);
    for (int p = 0; p < 4; ++p)
        EXPECT_TRUE(model->IsFinished(p));
    // Place 0 (after the dealer) is handled here: it deals next.
    auto steps = poster.Steps();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().first, STEP_ANNOUNCE_DEAL);
    EXPECT_EQ(steps.back().second, 10);
}

TEST_F(BiddingModelTest, UndoubledBetEndsOnlyAtTheFifthPass) {
    Bet(0, 8, kHearts);
    for (int p : {1, 2, 3, 0})
        Pass(p);
    EXPECT_EQ(model->Passes(), 4);
    EXPECT_FALSE(model->IsOver());
    Pass(1);
    ASSERT_TRUE(model->IsOver());
    const BiddingOutcome& out = host.committed.at(0);
    EXPECT_EQ(out.value, 8);
    EXPECT_EQ(out.trump, kHearts);
    EXPECT_EQ(out.declarer, 0);
    EXPECT_EQ(out.turn, 0);
    EXPECT_EQ(out.doubledBy, -1);
    EXPECT_EQ(out.doubleLevel, 0);
}

TEST_F(BiddingModelTest, ADoubledContractEndsAtTheFourthPassWithAutomaticPasses) {
    Bet(0, 8, kHearts);
    Double(1);
    EXPECT_EQ(model->Doubler(), 1);
    EXPECT_TRUE(model->IsFinished(1));
    EXPECT_TRUE(model->IsFinished(3));
    EXPECT_EQ(model->PlaceToCall(), 2);
    Pass(2); // then place 3 passes automatically
    EXPECT_EQ(model->PlaceToCall(), 0);
    ASSERT_EQ(model->Rows(3).size(), 1u);
    EXPECT_EQ(model->Rows(3)[0].text, "pass");
    EXPECT_EQ(model->Rows(3)[0].image, CALL_AUTO_PASS);
    EXPECT_FALSE(model->IsOver());
    Pass(0); // place 1 passes automatically: the fourth pass
    ASSERT_TRUE(model->IsOver());
    EXPECT_EQ(host.committed.at(0).doubledBy, 1);
    EXPECT_EQ(host.committed.at(0).doubleLevel, 1);
}

TEST_F(BiddingModelTest, DoubleOutOfTurnStaysInTheDoublersColumn) {
    Bet(0, 8, kHearts);
    ASSERT_EQ(model->PlaceToCall(), 1);
    Double(3);
    ASSERT_EQ(model->Rows(3).size(), 1u);
    EXPECT_EQ(model->Rows(3)[0].text, "dbl");
    EXPECT_EQ(model->Rows(3)[0].image, CALL_DOUBLE);
    // The turn stayed with place 1, which, as the doubler's partner, passes
    // automatically; place 3 already has a row in this round, so the pass goes
    // below an empty filler row.
    ASSERT_EQ(model->Rows(1).size(), 2u);
    EXPECT_EQ(model->Rows(1)[0].text, "");
    EXPECT_EQ(model->Rows(1)[1].text, "pass");
    EXPECT_EQ(model->Rows(1)[1].image, CALL_AUTO_PASS);
    EXPECT_EQ(model->PlaceToCall(), 2);
}

TEST_F(BiddingModelTest, RedoubleEndsAtOnce) {
    Bet(0, 8, kHearts);
    Double(1);
    Redouble(2);
    ASSERT_TRUE(model->IsOver());
    EXPECT_EQ(host.committed.at(0).redoubledBy, 2);
    EXPECT_EQ(host.committed.at(0).doubleLevel, 2);
    EXPECT_EQ(model->Rows(2).back().text, "rdbl");
}

TEST_F(BiddingModelTest, DoubleAndRedoubleButtonsFollowTheSides) {
    Bet(0, 8, kHearts);
    EXPECT_FALSE(model->Controls().dbl); // own side's contract
    Bet(1, 9, kClubs);
    EXPECT_TRUE(model->Controls().dbl);
    Double(2);
    EXPECT_FALSE(model->Controls().redouble); // own side doubled
    Make();
    Bet(0, 8, kHearts);
    Double(1);
    EXPECT_TRUE(model->Controls().redouble);
    EXPECT_FALSE(model->Controls().bet);
}

TEST_F(BiddingModelTest, FinishedPlaceIsPassedAutomatically) {
    model->OnFinishCommand(11, 2);
    EXPECT_TRUE(model->IsFinished(1));
    Bet(0, 8, kHearts);
    EXPECT_EQ(model->PlaceToCall(), 2);
    ASSERT_EQ(model->Rows(1).size(), 1u);
    EXPECT_EQ(model->Rows(1)[0].text, "pass");
    EXPECT_EQ(model->Rows(1)[0].image, CALL_AUTO_PASS);
    EXPECT_EQ(model->Passes(), 1);
}

TEST_F(BiddingModelTest, ColumnsAlignWithFillerRows) {
    host.dealer = 0; // place 1 calls first
    Make();
    Bet(1, 8, kHearts);
    Pass(2);
    Pass(3);
    Pass(0);
    ASSERT_EQ(model->Rows(0).size(), 2u);
    EXPECT_EQ(model->Rows(0)[0].text, "");
    EXPECT_EQ(model->Rows(0)[0].image, CALL_AUTO_PASS);
    EXPECT_EQ(model->Rows(0)[1].text, "pass");
    Pass(1);
    EXPECT_EQ(model->Rows(1).size(), 2u);
    EXPECT_EQ(model->Rows(2).size(), 1u);
    // Fillers are display rows only: the log holds the five calls.
    EXPECT_EQ(model->LogLength(), 15);
    // Only the newest row is selected.
    EXPECT_TRUE(model->Rows(1).back().selected);
    EXPECT_FALSE(model->Rows(0).back().selected);
}

TEST_F(BiddingModelTest, FullPageScrollsEveryColumn) {
    Make(2);
    int value = 8;
    for (int round = 0; round < 2; ++round)
        for (int p = 0; p < 4; ++p)
            Bet(p, value++, kHearts);
    for (int p = 0; p < 4; ++p)
        ASSERT_EQ(model->Rows(p).size(), 2u);
    Bet(0, value, kHearts);
    EXPECT_EQ(model->Rows(0).size(), 2u);
    EXPECT_EQ(model->Rows(0)[0].text, "12");
    EXPECT_EQ(model->Rows(0)[1].text, "16");
    EXPECT_EQ(model->Rows(1).size(), 1u);
    EXPECT_EQ(model->Rows(1)[0].text, "13");
}

TEST_F(BiddingModelTest, RaisesArePerPartnerAndSuit) {
    Bet(0, 8, kHearts); // partner of 2 opens: raise count 1
    EXPECT_EQ(model->RaiseCount(2), 1);
    EXPECT_EQ(model->RaiseFlag(2, kHearts), 0);
    Pass(1);
    Bet(2, 9, kClubs);
    EXPECT_EQ(model->SuitHolder(0, kClubs), 2);
    EXPECT_EQ(model->RaiseCount(0), 1);
    Pass(3);
    Bet(0, 10, kHearts); // raise by 1 more in hearts: count 2, flag 1
    EXPECT_EQ(model->RaiseCount(2), 2);
    EXPECT_EQ(model->RaiseFlag(2, kHearts), 1);
    EXPECT_EQ(model->PartnerLastValue(2), 10);
    EXPECT_EQ(model->PartnerLastSuit(2), kHearts);
    EXPECT_EQ(model->PartnershipSuit(0), kHearts);
    EXPECT_EQ(model->PartnershipSuit(2), kHearts);
    EXPECT_EQ(model->PartnershipSuit(1), -1);
    EXPECT_EQ(model->SuitHolder(1, kHearts), 0);
    // The opponents' bet in hearts does not take the suit from our side, but
    // from their side it is now their own suit.
    Bet(1, 11, kHearts);
    EXPECT_EQ(model->SuitHolder(0, kHearts), 0);
    EXPECT_EQ(model->SuitHolder(3, kHearts), 1);
    EXPECT_EQ(model->RaiseCount(3), 1);
    EXPECT_EQ(model->Controls().spinLow, 12);
    EXPECT_EQ(model->Controls().spinValue, 12);
}

TEST_F(BiddingModelTest, NoTrumpBetAddsOneMoreRaise) {
    Bet(0, 8, 4);
    // 8 - 7 = 1, then the no-trump extra: count 2 and flag 1 for no trumps.
    EXPECT_EQ(model->RaiseCount(2), 2);
    EXPECT_EQ(model->RaiseFlag(2, 4), 1);
}

TEST_F(BiddingModelTest, MalformedOrForeignCallsChangeNothing) {
    model->OnBidCommand(99, 9, 3);  // nobody at the table
    model->OnBidCommand(10, 9, 12); // no such suit byte
    model->OnBidCommand(10, 90, 3); // bet above 82
    model->OnBidCommand(10, 8, 9);  // the internal automatic pass
    EXPECT_EQ(model->LogLength(), 0);
    EXPECT_EQ(model->PlaceToCall(), 0);
}

TEST_F(BiddingModelTest, ComputerTurnPostsTheBidStepAndTheFirstCard) {
    host.computer[1] = true;
    Bet(0, 8, kHearts);
    EXPECT_TRUE(Posted(STEP_AUTO_BID));
    host.computer[0] = true; // AutoPlay: place 0 plays first
    for (int p : {1, 2, 3, 0, 1})
        Pass(p);
    ASSERT_TRUE(model->IsOver());
    EXPECT_EQ(poster.Steps().back().first, STEP_AUTO_CARD);
}

TEST_F(BiddingModelTest, LowerPassLimitEndsSooner) {
    host.bidRule = 1;
    Bet(0, 8, kHearts);
    Pass(1);
    EXPECT_FALSE(model->IsOver());
    Pass(2);
    EXPECT_TRUE(model->IsOver());
}

TEST_F(BiddingModelTest, SaveThenRestoreGivesTheSameState) {
    model->OnFinishCommand(12, 2); // place 2 finished
    Bet(0, 8, kHearts);
    Bet(1, 9, kClubs);
    Bet(2 + 1, 10, 4); // place 3 out of turn (place 2 passed automatically)
    Bet(0, 11, kHearts);
    Double(3);
    const std::vector<uint8_t> saved = model->SaveState();
    ASSERT_EQ(saved.size(), static_cast<size_t>(model->LogLength() + 5));

    CBiddingModel copy(host, sender, poster);
    copy.Open();
    ASSERT_TRUE(copy.RestoreState(saved.data(), saved.size()));
    EXPECT_EQ(copy.SaveState(), saved);
    EXPECT_EQ(copy.PlaceToCall(), model->PlaceToCall());
    EXPECT_EQ(copy.ContractBidder(), model->ContractBidder());
    EXPECT_EQ(copy.ContractValue(), model->ContractValue());
    EXPECT_EQ(copy.ContractSuit(), model->ContractSuit());
    EXPECT_EQ(copy.Doubler(), model->Doubler());
    EXPECT_EQ(copy.Passes(), model->Passes());
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(copy.IsFinished(p), model->IsFinished(p));
        EXPECT_EQ(copy.RaiseCount(p), model->RaiseCount(p));
        EXPECT_EQ(copy.PartnerLastValue(p), model->PartnerLastValue(p));
        EXPECT_EQ(copy.PartnershipSuit(p), model->PartnershipSuit(p));
        for (int s = 0; s < 5; ++s) {
            EXPECT_EQ(copy.SuitHolder(p, s), model->SuitHolder(p, s));
            EXPECT_EQ(copy.RaiseFlag(p, s), model->RaiseFlag(p, s));
        }
        ASSERT_EQ(copy.Rows(p).size(), model->Rows(p).size());
        for (size_t r = 0; r < copy.Rows(p).size(); ++r) {
            EXPECT_EQ(copy.Rows(p)[r].text, model->Rows(p)[r].text);
            EXPECT_EQ(copy.Rows(p)[r].image, model->Rows(p)[r].image);
            EXPECT_EQ(copy.Rows(p)[r].selected, model->Rows(p)[r].selected);
        }
    }
}

TEST_F(BiddingModelTest, RestoreRejectsBlocksOfTheWrongSize) {
    const uint8_t tiny[4] = {1, 0, 0, 0};
    EXPECT_FALSE(model->RestoreState(tiny, sizeof tiny));
    std::vector<uint8_t> huge(kBiddingSaveMax + 1, 1);
    EXPECT_FALSE(model->RestoreState(huge.data(), huge.size()));
    // A block with a broken call skips that call only.
    const uint8_t block[] = {1, 8, 2, 9, 200, 77, 2, 0, 0, 0, 0};
    ASSERT_TRUE(model->RestoreState(block, sizeof block));
    EXPECT_EQ(model->LogLength(), 3);
    EXPECT_EQ(model->ContractValue(), 8);
    EXPECT_EQ(model->PlaceToCall(), 1);
}

TEST_F(BiddingModelTest, TheLogStopsAtItsSizeWithoutOverflow) {
    host.bidRule = 1000; // an undoubled contract never ends by passes
    Bet(0, 8, kHearts);
    for (int i = 0; i < 200; ++i)
        Pass(model->PlaceToCall());
    EXPECT_LE(model->LogLength(), kBidLogSize);
    EXPECT_EQ(model->LogLength() % 3, 0);
    EXPECT_LE(model->SaveState().size(), static_cast<size_t>(kBiddingSaveMax));
}
