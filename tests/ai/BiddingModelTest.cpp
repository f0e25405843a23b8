// The bidding panel's model: calls and their commands, the turn, automatic
// passes, the end of the bidding, column alignment, and save/restore.
#include <gtest/gtest.h>

#include "ai/CBiddingModel.h"
#include "ai/GameCommands.h"
#include "tests/ai/AiTestSupport.h"

using namespace aitest;

namespace {

constexpr int kClubs = 0, kHearts = 2;

using BiddingModelTest = BiddingTest;

// The texts of a place's column, with "*" for an automatic pass's picture.
std::vector<std::string> Column(CBiddingModel& model, int place) {
    std::vector<std::string> out;
    for (const auto& row : model.Rows(place))
        out.push_back(row.text + (row.image == CALL_AUTO_PASS ? "*" : ""));
    return out;
}

using Texts = std::vector<std::string>;

} // namespace

TEST_F(BiddingModelTest, OwnCallsAreSentAsBidCommands) {
    EXPECT_EQ(model->PlaceToCall(), 0) << "left of the dealer";
    model->Pass();
    model->SetSpinValue(9);
    EXPECT_EQ(model->Bet(kHearts, false), BetResult::Sent);
    model->Double(true);
    model->Redouble(false);
    model->ToggleOwnFinish(true);
    ASSERT_EQ(sender.sent.size(), 5u);
    const std::pair<std::string, int16_t> expected[4] = {
        {"\x01\x08", 10}, {"\x0A\x03", 10}, {"\x02\x06", -1}, {"\x03\x07", 10}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sender.sent[i].cmd, CMD_BID);
        EXPECT_EQ(sender.sent[i].text, expected[i].first) << i;
        EXPECT_EQ(sender.sent[i].from, expected[i].second) << i;
    }
    EXPECT_EQ(sender.sent[4].cmd, CMD_BID_FINISH);
    EXPECT_EQ(sender.sent[4].text, std::string("\x02"));
    EXPECT_FALSE(model->IsFinished(0)) << "changes only when the command comes back";
    model->SetSpinValue(83);
    EXPECT_EQ(model->Bet(kClubs, false), BetResult::InvalidValue);
    Bet(0, 12, kHearts);
    model->SetSpinValue(40);
    EXPECT_EQ(model->Bet(kClubs, true), BetResult::Sent);
    EXPECT_EQ(sender.sent.back().text, std::string("\x0E\x01")) << "auto value: one more";
    EXPECT_EQ(sender.sent.back().from, 11);
}

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
    BiddingOutcome out = host.committed.at(1);
    EXPECT_EQ(std::vector<int>(
                  {out.value, out.trump, out.declarer, out.turn, out.doubledBy, out.doubleLevel}),
              std::vector<int>({8, kHearts, 0, 0, -1, 0}));

    Make(); // doubled: the partners of the doubler pass automatically, four passes end it
    Bet(0, 8, kHearts);
    Double(1);
    EXPECT_TRUE(model->IsFinished(1));
    EXPECT_TRUE(model->IsFinished(3));
    EXPECT_EQ(model->PlaceToCall(), 2);
    Pass(2);
    EXPECT_EQ(Column(*model, 3), Texts{"pass*"});
    Pass(0);
    ASSERT_TRUE(model->IsOver());
    out = host.committed.at(2);
    EXPECT_EQ(out.doubledBy, 1);
    EXPECT_EQ(out.doubleLevel, 1);

    Make(); // redoubled: ends at once
    Bet(0, 8, kHearts);
    Double(1);
    Redouble(2);
    ASSERT_TRUE(model->IsOver());
    EXPECT_EQ(host.committed.at(3).redoubledBy, 2);
    EXPECT_EQ(host.committed.at(3).doubleLevel, 2);
    EXPECT_EQ(Column(*model, 2).back(), "rdbl");
}

TEST_F(BiddingModelTest, ColumnsAlign) {
    Bet(0, 8, kHearts);
    Double(3); // out of turn: in the doubler's column
    EXPECT_EQ(Column(*model, 3), Texts{"dbl"});
    // The turn stayed with place 1, the doubler's partner, which passes
    // automatically below a filler row (place 3 already called this round).
    EXPECT_EQ(Column(*model, 1), (Texts{"*", "pass*"}));
    EXPECT_EQ(model->PlaceToCall(), 2);
}

TEST_F(BiddingModelTest, MalformedOrForeignCallsChangeNothing) {
    model->OnBidCommand(99, 9, 3);  // nobody at the table
    model->OnBidCommand(10, 9, 12); // no such suit byte
    model->OnBidCommand(10, 90, 3); // bet above 82
    model->OnBidCommand(10, 8, 9);  // the internal automatic pass
    EXPECT_EQ(model->LogLength(), 0);
    EXPECT_EQ(model->PlaceToCall(), 0);
}

TEST_F(BiddingModelTest, SaveThenRestoreGivesTheSameState) {
    model->OnFinishCommand(12, 2); // place 2 finished
    Bet(0, 8, kHearts);
    Bet(1, 9, kClubs);
    Bet(3, 10, kNoTrumps); // place 2 passed automatically
    Bet(0, 11, kHearts);
    Double(3);
    const std::vector<uint8_t> saved = model->SaveState();
    ASSERT_EQ(saved.size(), static_cast<size_t>(model->LogLength() + 5));
    CBiddingModel copy(host, sender, poster);
    copy.Open();
    ASSERT_TRUE(copy.RestoreState(saved.data(), saved.size()));
    EXPECT_EQ(copy.SaveState(), saved);
    auto state = [](CBiddingModel& m) {
        std::vector<int> s = {m.PlaceToCall(),  m.ContractBidder(), m.ContractValue(),
                              m.ContractSuit(), m.Doubler(),        m.Passes()};
        for (int p = 0; p < 4; ++p) {
            s.insert(s.end(), {m.IsFinished(p), m.RaiseCount(p), m.PartnerLastValue(p),
                               m.PartnershipSuit(p)});
            for (int suit = 0; suit < 5; ++suit)
                s.insert(s.end(), {m.SuitHolder(p, suit), m.RaiseFlag(p, suit)});
            for (const auto& row : m.Rows(p))
                s.insert(s.end(), {static_cast<int>(std::hash<std::string>()(row.text)), row.image,
                                   row.selected});
        }
        return s;
    };
    EXPECT_EQ(state(copy), state(*model));
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
