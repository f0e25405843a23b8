// The seat panel: a click only sends; the place state that comes back changes the panel.
#include "tests/app/AppTestSupport.h"

#include <tuple>

using namespace apptest;

namespace {

class SeatPanelTest : public GameFixture {
protected:
    CSeatPanel* panel = nullptr;
    void OpenPanel() {
        AddUser(0, "Ann");
        AddUser(1, "Bob");
        CheckTable();
        panel = flow->SeatPanel();
        ASSERT_NE(panel, nullptr);
        ASSERT_EQ(viewUi.seatShown, 1);
    }
    int16_t LastState() const { return table.SentOf(NET_PLACESTATE).back().from; }
};

// Expected buttons of a seat: its text, Free checked/enabled, Start checked/enabled.
void ExpectSeat(const SeatButtons& b, const char* text, bool fc, bool fe, bool sc, bool se) {
    EXPECT_EQ(std::tie(b.freeText, b.freeChecked, b.freeEnabled, b.startChecked, b.startEnabled),
              std::tuple(std::string(text), fc, fe, sc, se));
}

} // namespace

TEST_F(SeatPanelTest, ButtonsFollowTheStatesThatComeBackAndTheFourthStartCloses) {
    OpenPanel();
    panel->ClickFree(2, true);
    EXPECT_EQ(LastState(), 2);
    ExpectSeat(panel->Seat(2), "Free", false, true, false, false); // nothing before the echo
    Pump();
    ExpectSeat(panel->Seat(2), "Ann", true, true, false, true);
    EXPECT_TRUE(g_bSeated);

    panel->ClickStart(2, true);
    EXPECT_EQ(static_cast<uint16_t>(LastState()), 0x8002);
    Pump();
    ExpectSeat(panel->Seat(2), "Ann", true, true, true, true);
    panel->ClickStart(2, false);
    Pump();
    EXPECT_EQ(g_UsersList[0].state, 2);

    // Another player's seat shows him, its buttons disabled.
    table.DeliverPlaceState(1, static_cast<int16_t>(0x8003));
    Pump();
    ExpectSeat(panel->Seat(3), "Bob", true, false, true, false);

    panel->ClickFree(2, false);
    EXPECT_EQ(LastState(), 0);
    Pump();
    ExpectSeat(panel->Seat(2), "Free", false, true, false, false);
    EXPECT_EQ(panel->Occupant(2), -1);

    // The fourth start closes the panel; seat 1's program announces the deal.
    AddUser(2, "Cid");
    AddUser(3, "Dan");
    for (uint16_t user = 1; user <= 3; ++user)
        table.DeliverPlaceState(user, static_cast<int16_t>(0x8001 + user));
    Pump();
    ASSERT_NE(flow->SeatPanel(), nullptr);
    EXPECT_FALSE(g_bGameRunning);
    panel->ClickFree(1, true);
    Pump();
    panel->ClickStart(1, true);
    Message m;
    ASSERT_TRUE(queue.Pop(m));
    Dispatch(m);
    EXPECT_EQ(
        std::tuple(g_bGameRunning, flow->SeatPanel() == nullptr, viewUi.seatHidden, g_nDealer),
        std::tuple(1, true, 1, 0));
    EXPECT_TRUE(StepPending(STEP_ANNOUNCE_DEAL));
}
