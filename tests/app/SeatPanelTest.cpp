// The seat panel's buttons: a click only sends; the place state that comes back
// changes the panel; only a seat's holder can press its buttons.
#include "tests/app/AppTestSupport.h"

using namespace apptest;

namespace {

class SeatPanelTest : public GameFixture {
protected:
    CSeatPanel* panel = nullptr;

    void OpenPanel() {
        AddUser(0, "Ann");
        AddUser(1, "Bob");
        g_bStateDone = 1;
        flow->OnGameStep(STEP_CHECK_TABLE, 0);
        panel = flow->SeatPanel();
        ASSERT_NE(panel, nullptr);
        ASSERT_EQ(viewUi.seatShown, 1);
    }
    int16_t LastState() const { return table.SentOf(NET_PLACESTATE).back().from; }
};

} // namespace

TEST_F(SeatPanelTest, StartsWithFreeSeatsAndDisabledStartButtons) {
    OpenPanel();
    for (int seat = 1; seat <= 4; ++seat) {
        const SeatButtons& b = panel->Seat(seat);
        EXPECT_EQ(b.freeText, "Free");
        EXPECT_TRUE(b.freeEnabled);
        EXPECT_FALSE(b.freeChecked);
        EXPECT_FALSE(b.startEnabled);
        EXPECT_FALSE(b.startChecked);
        EXPECT_EQ(panel->Occupant(seat), -1);
    }
}

TEST_F(SeatPanelTest, FreeClickChangesNothingUntilTheStateComesBack) {
    OpenPanel();
    panel->ClickFree(2, true);
    EXPECT_EQ(LastState(), 2);
    EXPECT_FALSE(panel->Seat(2).freeChecked);
    EXPECT_EQ(panel->Seat(2).freeText, "Free");
    Pump();
    EXPECT_TRUE(panel->Seat(2).freeChecked);
    EXPECT_EQ(panel->Seat(2).freeText, "Ann");
    EXPECT_TRUE(panel->Seat(2).startEnabled);
    EXPECT_TRUE(panel->Seat(2).freeEnabled);
    EXPECT_EQ(g_UsersList[0].state, 2);
    EXPECT_TRUE(g_bSeated);
}

TEST_F(SeatPanelTest, OtherPlayersButtonsStayDisabled) {
    OpenPanel();
    table.DeliverPlaceState(1, static_cast<int16_t>(0x8003));
    Pump();
    const SeatButtons& b = panel->Seat(3);
    EXPECT_EQ(b.freeText, "Bob");
    EXPECT_TRUE(b.freeChecked);
    EXPECT_TRUE(b.startChecked);
    EXPECT_FALSE(b.freeEnabled);
    EXPECT_FALSE(b.startEnabled);
}

TEST_F(SeatPanelTest, StartSendsTheStartedBitAndReleasingFreesTheSeat) {
    OpenPanel();
    panel->ClickFree(1, true);
    Pump();
    panel->ClickStart(1, true);
    EXPECT_EQ(static_cast<uint16_t>(LastState()), 0x8001);
    EXPECT_FALSE(panel->Seat(1).startChecked);
    Pump();
    EXPECT_TRUE(panel->Seat(1).startChecked);
    panel->ClickStart(1, false);
    Pump();
    EXPECT_FALSE(panel->Seat(1).startChecked);
    EXPECT_EQ(g_UsersList[0].state, 1);

    panel->ClickFree(1, false);
    EXPECT_EQ(LastState(), 0);
    Pump();
    const SeatButtons& b = panel->Seat(1);
    EXPECT_EQ(b.freeText, "Free");
    EXPECT_FALSE(b.freeChecked);
    EXPECT_TRUE(b.freeEnabled);
    EXPECT_FALSE(b.startEnabled);
    EXPECT_EQ(panel->Occupant(1), -1);
}

TEST_F(SeatPanelTest, MovingToAnotherSeatFreesTheFirst) {
    OpenPanel();
    table.DeliverPlaceState(0, 1);
    table.DeliverPlaceState(0, 4);
    Pump();
    EXPECT_EQ(panel->Occupant(1), -1);
    EXPECT_EQ(panel->Seat(1).freeText, "Free");
    EXPECT_EQ(panel->Occupant(4), 0);
}

TEST_F(SeatPanelTest, LaterClaimOfASeatWins) {
    OpenPanel();
    table.DeliverPlaceState(1, 2);
    table.DeliverPlaceState(0, 2);
    Pump();
    EXPECT_EQ(panel->Occupant(2), 0);
    EXPECT_EQ(panel->Seat(2).freeText, "Ann");
    EXPECT_EQ(g_UsersList[1].state, 0);
}

TEST_F(SeatPanelTest, NamelessUserShowsQuestionMarks) {
    OpenPanel();
    panel->Apply(7, 3);
    EXPECT_EQ(panel->Seat(3).freeText, "???");
}

TEST_F(SeatPanelTest, EnterAndEscapeOnlyBeep) {
    OpenPanel();
    platform.beeps.clear();
    panel->KeyPressed();
    ASSERT_EQ(platform.beeps.size(), 1u);
    EXPECT_EQ(platform.beeps[0], kBeepSimple);
    EXPECT_EQ(flow->SeatPanel(), panel);
}

TEST_F(SeatPanelTest, OpeningShowsThePlayersAlreadySeated) {
    AddUser(0, "Ann");
    AddUser(1, "Bob", -1, 0x8004);
    g_bStateDone = 1;
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_NE(flow->SeatPanel(), nullptr);
    EXPECT_EQ(flow->SeatPanel()->Seat(4).freeText, "Bob");
    EXPECT_TRUE(flow->SeatPanel()->Seat(4).startChecked);
}

TEST_F(SeatPanelTest, FourthStartClosesThePanelAndSeatOnesProgramAnnounces) {
    OpenPanel();
    AddUser(2, "Cid");
    AddUser(3, "Dan");
    table.DeliverPlaceState(1, static_cast<int16_t>(0x8002));
    table.DeliverPlaceState(2, static_cast<int16_t>(0x8003));
    table.DeliverPlaceState(3, static_cast<int16_t>(0x8004));
    Pump();
    ASSERT_NE(flow->SeatPanel(), nullptr);
    EXPECT_FALSE(g_bGameRunning);
    panel->ClickFree(1, true);
    Pump();
    panel->ClickStart(1, true);
    Message m;
    ASSERT_TRUE(queue.Pop(m));
    Dispatch(m);
    EXPECT_TRUE(g_bGameRunning);
    EXPECT_EQ(flow->SeatPanel(), nullptr);
    EXPECT_EQ(viewUi.seatHidden, 1);
    EXPECT_EQ(g_nDealer, 0);
    EXPECT_TRUE(StepPending(STEP_ANNOUNCE_DEAL));
}

TEST_F(SeatPanelTest, SeatOneHeldElsewhereAnnouncesNothingHere) {
    OpenPanel();
    AddUser(2, "Cid");
    AddUser(3, "Dan");
    table.DeliverPlaceState(1, static_cast<int16_t>(0x8001));
    table.DeliverPlaceState(2, static_cast<int16_t>(0x8003));
    table.DeliverPlaceState(3, static_cast<int16_t>(0x8004));
    table.DeliverPlaceState(0, static_cast<int16_t>(0x8002));
    Pump();
    EXPECT_TRUE(g_bGameRunning);
    EXPECT_EQ(flow->SeatPanel(), nullptr);
    EXPECT_EQ(g_nDealer, 3); // Bob's seat 1 lies right of seat 2
    EXPECT_TRUE(table.SentOf(CMD_NEW_DEAL).empty());
}
