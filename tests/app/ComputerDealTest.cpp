// Four computer partners of one program play whole deals through the step
// machine: the seat panel, the deal, the bidding, the play and the scoring.
#include "tests/app/AppTestSupport.h"

using namespace apptest;

namespace {

class ComputerDealTest : public GameFixture {
protected:
    void SeatFourComputers() {
        AddUser(0, "Ann");
        flow->OnGameStep(STEP_CHECK_TABLE, 0);
        ASSERT_NE(flow->SeatPanel(), nullptr);
        for (char k = 1; k <= 4; ++k)
            table.Deliver(NET_ADDAUTO, 0, std::string(1, k));
    }
};

} // namespace

TEST_F(ComputerDealTest, FourComputerSeatsPlayADealToItsScore) {
    SeatFourComputers();
    ASSERT_TRUE(RunUntil([] { return g_nDeals >= 1; }));
    EXPECT_EQ(flow->SeatPanel(), nullptr);
    EXPECT_FALSE(g_bSeated);
    // Every deal was dealt by the program of the dealer and announced in turn.
    EXPECT_GE(table.SentOf(CMD_NEW_DEAL).size(), 1u);
    EXPECT_GE(table.SentOf(CMD_DEAL_PACKET).size(), 12u);
    EXPECT_EQ(table.SentOf(CMD_DEAL_PACKET).size() % 12, 0u);
    // A contract was played out: 32 cards, the scores and the deal record written.
    EXPECT_EQ(table.SentOf(CMD_PLAY_CARD).size(), 32u);
    EXPECT_GT(g_score[0] + g_score[1], 0);
    EXPECT_NE(GetDealInt(0, kDealDouble), -1);
    EXPECT_GE(g_contract.declarer, 0);
    // The next dealer's program (this one) announces the next deal.
    EXPECT_TRUE(StepPending(STEP_ANNOUNCE_DEAL) || table.SentOf(CMD_NEW_DEAL).size() >= 2u);
    // Every card that was sent was legal when it was played: hands and table agree.
    int cards = 0;
    for (int p = 0; p < 4; ++p)
        cards += g_pHand[p]->Count();
    EXPECT_EQ(cards + g_pTable->Count(), 32);
}

TEST_F(ComputerDealTest, ComputersPlayAGameToItsEndAndStartTheNext) {
    SeatFourComputers();
    ASSERT_TRUE(RunUntil([] { return g_score[0] > 300 || g_score[1] > 300; }, 1000000));
    const int deals = g_nDeals;
    EXPECT_GE(deals, 2);
    EXPECT_FALSE(g_bGameRunning);
    // The program watches without a seat: it announces no game-over state.
    EXPECT_TRUE(table.SentOf(NET_PLACESTATE).empty());
    EXPECT_TRUE(StepPending(STEP_CHECK_TABLE));
    // The partners keep their started seats: the table check finds the four seats
    // started again and the next game begins with a new deal.
    const size_t newDeals = table.SentOf(CMD_NEW_DEAL).size();
    ASSERT_TRUE(RunUntil([&] { return table.SentOf(CMD_NEW_DEAL).size() > newDeals; }));
    EXPECT_TRUE(g_bGameRunning);
    EXPECT_EQ(g_score[0], 0);
    EXPECT_EQ(g_score[1], 0);
    EXPECT_EQ(g_nDeals, 0);
}

TEST_F(ComputerDealTest, BidEvaluationOnItsWorkerThreadReportsBackByStep) {
    // The program's own arrangement: the evaluation runs on its worker thread and
    // posts STEP_BID_TURN when done.
    GameFlowOptions options;
    options.pace = 0;
    options.threadedBidding = true;
    dispatcher.reset();
    flow = std::make_unique<CGameFlow>(platform, table, &queue, frameUi, viewUi, options);
    dispatcher = std::make_unique<CCommandDispatcher>(*flow);
    bridge = std::make_unique<CFrameBridge>(*flow);
    g_pMainFrame = bridge.get();
    SeatFourComputers();
    ASSERT_TRUE(RunUntilWaiting([] { return g_nDeals >= 1; }));
    EXPECT_EQ(table.SentOf(CMD_PLAY_CARD).size() % 32, 0u);
    EXPECT_GE(table.SentOf(CMD_BID).size(), 4u);
}
