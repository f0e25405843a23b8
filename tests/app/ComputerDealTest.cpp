// Four computer partners of one program play a whole game through the step machine.
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

TEST_F(ComputerDealTest, ComputersPlayAGameToItsEndAndStartTheNext) {
    SeatFourComputers();
    ASSERT_TRUE(RunUntil([] { return g_nDeals >= 1; }));
    EXPECT_EQ(flow->SeatPanel(), nullptr);
    EXPECT_EQ(table.SentOf(CMD_DEAL_PACKET).size() % 12, 0u); // deals passed out are dealt again
    EXPECT_EQ(table.SentOf(CMD_PLAY_CARD).size(), 32u);
    EXPECT_GT(g_score[0] + g_score[1], 0);
    ASSERT_TRUE(RunUntil([] { return g_score[0] > 300 || g_score[1] > 300; }, 1000000));
    EXPECT_GE(g_nDeals, 2);
    EXPECT_FALSE(g_bGameRunning);
    // The program runs only computer partners: it announces the end of the game.
    const auto states = table.SentOf(NET_PLACESTATE);
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(static_cast<uint16_t>(states[0].from), 0x8000);
    EXPECT_TRUE(StepPending(STEP_CHECK_TABLE));
    // The partners keep their started seats: the table check finds the four seats
    // started again and the next game begins with a new deal.
    const size_t newDeals = table.SentOf(CMD_NEW_DEAL).size();
    ASSERT_TRUE(RunUntil([&] { return table.SentOf(CMD_NEW_DEAL).size() > newDeals; }));
    EXPECT_EQ(std::tuple(g_bGameRunning, g_score[0], g_score[1], g_nDeals), std::tuple(1, 0, 0, 0));
}
