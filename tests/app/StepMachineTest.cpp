// The step machine: steps met while a step waits run after it, a repeated
// computer step plays once, and the table's busy count is given up on.
#include "tests/app/AppTestSupport.h"

#include "rules/Declarations.h"

#include <algorithm>
#include <tuple>

using namespace apptest;

namespace {

class StepMachineTest : public GameFixture {
protected:
    // Own user at seat 1; this program's partner Medra at seat 2 (place 1).
    void StartWithPartner() {
        AddUser(0, "Ann", -1, 0x8001);
        AddUser(102, "Medra", 0, 0x8002);
        AddUser(2, "Cid", -1, 0x8003);
        AddUser(3, "Dan", -1, 0x8004);
        CheckTable();
        DealHands();
        g_nDealer = 0;
        SetContract(8, kClub, 0, 1);
        EvaluateDeclarations();
        g_declare[1].value = 0; // Medra plays at once
        table.sent.clear();
    }
};

} // namespace

// The pauses of WaitSynchro(10, ...) per pace while the table stays busy, and after
// how many the busy count is given up on. Fast paces take the scaled pause or the
// back-off (1, 2, 4, ... up to 16 ms), whichever is longer, until 1000 ms have passed.
TEST_F(StepMachineTest, WaitSynchroPausesFollowThePaceAndGiveUpAtTheNormalLimit) {
    const struct {
        double pace;
        std::vector<int> firstPauses;
        int pauses; // until it gives up
    } cases[] = {
        {1.0, {100, 100, 100}, 10},
        {0.0, {1, 2, 4, 8, 16, 16}, 4 + 62},
        {0.05, {5, 5, 5, 8, 16}, 4 + 62},
    };
    AddFourHumans();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pace);
        GameFlowOptions options;
        options.pace = c.pace;
        options.threadedBidding = false;
        CGameFlow paced(platform, table, &queue, frameUi, viewUi, options);
        platform.waits.clear();
        isBusy = 3;
        EXPECT_EQ(paced.WaitSynchro(10, false), 0);
        EXPECT_EQ(isBusy, 3);
        ASSERT_EQ(platform.waits.size(), static_cast<size_t>(c.pauses));
        EXPECT_TRUE(std::equal(c.firstPauses.begin(), c.firstPauses.end(), platform.waits.begin()));
        // Given up on with a reset, the count is zero and the next wait returns at once.
        EXPECT_EQ(paced.WaitSynchro(10, true), 0);
        EXPECT_EQ(isBusy, 0);
        platform.waits.clear();
        EXPECT_EQ(paced.WaitSynchro(10, true), 1);
        EXPECT_TRUE(platform.waits.empty());
        EXPECT_GT(paced.TakeProbeCount(), 0) << "the other humans were asked";
    }
}

TEST_F(StepMachineTest, StepMetWhileAStepWaitsRunsAfterIt) {
    StartWithPartner();
    isBusy = 1; // the first announcement waits, pumping, and meets the second
    queue.PostMessage(WM_GAME_STEP, STEP_ANNOUNCE_DEAL, 2);
    flow->OnGameStep(STEP_ANNOUNCE_DEAL, 3);
    isBusy = 0;
    Pump();
    const auto deals = table.SentOf(CMD_NEW_DEAL);
    ASSERT_GE(deals.size(), 2u);
    EXPECT_EQ(std::tuple(deals[0].from, deals[1].from), std::tuple(3, 2));
}

TEST_F(StepMachineTest, RepeatedComputerStepMovesOnlyTheComputersOwnTurn) {
    StartWithPartner();
    flow->PostStep(STEP_AUTO_CARD, 0);
    flow->PostStep(STEP_AUTO_CARD, 0);
    Pump();
    const auto plays = table.SentOf(CMD_PLAY_CARD);
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].from, 102);
    // Cid's turn: nobody here plays for him.
    EXPECT_EQ(std::tuple(g_contract.turn, g_pHand[1]->Count()), std::tuple(2, 7));
}
