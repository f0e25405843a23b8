// The step machine's pacing: waits, steps met while a step waits, repeated
// computer steps, and the size of a state reply.
#include "tests/app/AppTestSupport.h"

#include "app/CReplaySnapshots.h"
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
        g_bStateDone = 1;
        flow->OnGameStep(STEP_CHECK_TABLE, 0);
        Pump();
        const std::vector<std::string> hands[4] = {
            {"AS", "7H", "8H", "9C", "TC", "JC", "QC", "KC"},
            {"7S", "8S", "9S", "TS", "JS", "QS", "KS", "7C"},
            {"9H", "TH", "JH", "QH", "KH", "AH", "8C", "AC"},
            {"7D", "8D", "9D", "TD", "JD", "QD", "KD", "AD"},
        };
        DealHands(hands);
        g_nDealer = 0;
        SetContract(8, kClub, 0, 1);
        EvaluateDeclarations();
        g_declare[1].value = 0; // Medra plays at once
        table.sent.clear();
    }
};

} // namespace

TEST_F(StepMachineTest, PaceScalesTheFixedPausesOnly) {
    GameFlowOptions options;
    options.pace = 0.5;
    CGameFlow paced(platform, table, &queue, frameUi, viewUi, options);
    uint32_t before = platform.tick;
    paced.Wait(600, false);
    const uint32_t half = platform.tick - before;
    EXPECT_GE(half, 300u);
    EXPECT_LT(half, 600u);
    before = platform.tick;
    paced.WaitUnscaled(100, false);
    EXPECT_GE(platform.tick - before, 100u);
    // No pace: no pause at all, but a pumping wait still pumps once.
    before = platform.tick;
    flow->Wait(600, false);
    EXPECT_LT(platform.tick - before, 20u);
}

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

TEST_F(StepMachineTest, ComputerAnnouncesBeforeItPlays) {
    StartWithPartner();
    EvaluateDeclarations(); // Medra holds 7 to king of spades
    ASSERT_NE(g_declare[1].value, 0);
    flow->PostStep(STEP_AUTO_CARD, 0);
    Pump();
    ASSERT_EQ(table.SentOf(CMD_DECLARE).size(), 1u);
    EXPECT_EQ(table.SentOf(CMD_DECLARE)[0].from, 102);
    EXPECT_EQ(g_declare[1].announced, 1);
    // The announcement came back and moved the computer again: now it plays.
    EXPECT_EQ(table.SentOf(CMD_PLAY_CARD).size(), 1u);
}

TEST_F(StepMachineTest, StateReplyDropsOldChatLinesToFitAPayload) {
    StartWithPartner();
    for (int i = 0; i < 15; ++i)
        frameUi.chat.push_back(std::string(250, static_cast<char>('a' + i)));
    const std::string text = flow->BuildStateReplyText();
    ASSERT_FALSE(text.empty());
    EXPECT_LT(text.size(), kPayloadBuffer);
    // The newest lines are kept, the oldest dropped.
    EXPECT_NE(text.find(std::string(250, 'a' + 14)), std::string::npos);
    EXPECT_EQ(text.find(std::string(250, 'a')), std::string::npos);
    // With few lines everything goes.
    frameUi.chat.assign(3, "short line");
    const std::string small = flow->BuildStateReplyText();
    EXPECT_NE(small.find("short line"), std::string::npos);
}

TEST_F(StepMachineTest, OwnCardIsSnapshottedAndUndoRestoresTheTable) {
    StartWithPartner();
    CReplaySnapshots snapshots;
    flow->SetSnapshotHook([&] { snapshots.Record(flow->BuildStateRecord(kStateChatLines, true)); });
    // Medra's card is no own card: no snapshot.
    flow->PostStep(STEP_AUTO_CARD, 0);
    Pump();
    EXPECT_EQ(snapshots.Index(), -1);
    PlayFrom(2, "9H");
    PlayFrom(3, "7D");
    ASSERT_EQ(g_contract.turn, 0);
    PlayFrom(0, "AS");
    ASSERT_EQ(snapshots.Index(), 0);
    EXPECT_EQ(g_pTable->Count(), 4); // the trick is complete
    EXPECT_EQ(g_pHand[0]->Count(), 7);

    // Back to just before the own card: three cards on the table, the ace in the hand.
    ASSERT_TRUE(flow->UndoReplay(snapshots));
    EXPECT_EQ(g_pTable->Count(), 3);
    EXPECT_EQ(g_pHand[0]->Count(), 8);
    EXPECT_EQ(g_contract.turn, 0);
    EXPECT_EQ(g_bReplaying, 0);
}
