// The step machine: steps met while a step waits run after it, a repeated
// computer step plays once, and the table's busy count is given up on.
#include "tests/app/AppTestSupport.h"

#include "rules/Declarations.h"

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

TEST_F(StepMachineTest, WaitSynchroGivesUpAndClearsTheBusyCount) {
    isBusy = 3;
    EXPECT_EQ(flow->WaitSynchro(10, false), 0);
    EXPECT_EQ(isBusy, 3);
    EXPECT_EQ(flow->WaitSynchro(10, true), 0);
    EXPECT_EQ(isBusy, 0);
    EXPECT_EQ(flow->WaitSynchro(10, true), 1);
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
    EXPECT_EQ(deals[0].from, 3);
    EXPECT_EQ(deals[1].from, 2);
}

TEST_F(StepMachineTest, RepeatedComputerStepMovesOnlyTheComputersOwnTurn) {
    StartWithPartner();
    flow->PostStep(STEP_AUTO_CARD, 0);
    flow->PostStep(STEP_AUTO_CARD, 0);
    Pump();
    const auto plays = table.SentOf(CMD_PLAY_CARD);
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].from, 102);
    EXPECT_EQ(g_contract.turn, 2); // Cid's turn: nobody here plays for him
    EXPECT_EQ(g_pHand[1]->Count(), 7);
}
