// The command dispatcher: place states, departures, computer partners, the
// state request and reply, and payloads that do not fit its buffer.
#include "tests/app/AppTestSupport.h"

#include "rules/record/RecordEscape.h"

using namespace apptest;

namespace {

class DispatcherTest : public GameFixture {};

} // namespace

TEST_F(DispatcherTest, GameOverStateStopsTheGameAndFreesTheSeat) {
    StartFourHumans();
    ASSERT_TRUE(g_bGameRunning);
    g_bAutoPlay = 1;
    g_bComputerSearch = 1;
    table.DeliverPlaceState(2, static_cast<int16_t>(0x8000));
    Pump();
    EXPECT_FALSE(g_bGameRunning);
    EXPECT_EQ(g_bAutoPlay, 0);
    EXPECT_EQ(g_bComputerSearch, 0);
    EXPECT_EQ(g_UsersList[2].state, 0); // taken as a free seat
    EXPECT_EQ(flow->PendingGame(), nullptr);
    EXPECT_EQ(isBusy, 0);
}

TEST_F(DispatcherTest, StartedPlayerLeavingKeepsTheGameAndReopensTheSeatPanel) {
    StartFourHumans();
    table.DeliverPlaceState(1, 0);
    Pump();
    EXPECT_FALSE(g_bGameRunning);
    EXPECT_EQ(g_UsersList[1].state, 0);
    EXPECT_NE(flow->PendingGame(), nullptr);
    EXPECT_EQ(g_pHand[0]->m_nUser, kNoUser);
    EXPECT_EQ(viewUi.fills, 1);
    EXPECT_NE(flow->SeatPanel(), nullptr);

    // The seat is taken and started again: the kept game resumes instead of a new deal.
    table.DeliverPlaceState(1, static_cast<int16_t>(0x8002));
    Pump();
    EXPECT_TRUE(g_bGameRunning);
    EXPECT_EQ(flow->SeatPanel(), nullptr);
    EXPECT_EQ(flow->PendingGame(), nullptr);
    EXPECT_TRUE(table.SentOf(CMD_NEW_DEAL).empty());
}

TEST_F(DispatcherTest, ComputerPartnersLeaveWithTheirOwner) {
    AddUser(0, "Ann");
    AddUser(1, "Bob");
    g_bStateDone = 1;
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    table.DeliverPlaceState(0, 1);
    table.DeliverPlaceState(1, 2);
    table.Deliver(NET_ADDAUTO, 1, "\x03");
    table.Deliver(NET_ADDAUTO, 1, "\x04");
    Pump();
    EXPECT_EQ(std::string(g_UsersList[103].name), "Tesiva");
    EXPECT_EQ(g_UsersList[104].owner, 1);
    EXPECT_EQ(flow->SeatPanel()->Occupant(3), 103);
    EXPECT_TRUE(flow->SeatPanel()->Seat(4).startChecked);
    ASSERT_EQ(frameUi.users.size(), 2u);

    table.Deliver(NET_DETACH, 1, "Bob");
    Pump();
    EXPECT_EQ(g_UsersList[103].name[0], 0);
    EXPECT_EQ(g_UsersList[104].name[0], 0);
    EXPECT_EQ(g_UsersList[1].name[0], 0);
    ASSERT_EQ(frameUi.removed.size(), 3u);
    EXPECT_EQ(frameUi.removed[0], "Tesiva");
    EXPECT_EQ(frameUi.removed[1], "Olvessa");
    EXPECT_EQ(frameUi.removed[2], "Bob");
    for (int seat = 2; seat <= 4; ++seat)
        EXPECT_EQ(flow->SeatPanel()->Seat(seat).freeText, "Free") << "seat " << seat;
    EXPECT_EQ(flow->SeatPanel()->Occupant(1), 0);
}

TEST_F(DispatcherTest, PartnerLeavingDuringAGameStopsIt) {
    AddUser(0, "Ann", -1, 0x8001);
    AddUser(1, "Bob", -1, 0x8002);
    AddUser(103, "Tesiva", 1, 0x8003);
    AddUser(104, "Olvessa", 1, 0x8004);
    g_bStateDone = 1;
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_TRUE(g_bGameRunning);
    table.Deliver(NET_DELAUTO, 1, "\x04");
    Pump();
    EXPECT_FALSE(g_bGameRunning);
    EXPECT_NE(flow->PendingGame(), nullptr);
    EXPECT_EQ(g_UsersList[104].name[0], 0);
    EXPECT_NE(flow->SeatPanel(), nullptr);
}

TEST_F(DispatcherTest, PartnerNumbersOutsideTheMenuAreIgnored) {
    AddUser(0, "Ann");
    table.Deliver(NET_ADDAUTO, 0, std::string(1, static_cast<char>(0xF0)));
    table.Deliver(NET_ADDAUTO, 0, "\x09");
    Pump();
    for (int i = 0; i < kMaxUsers; ++i)
        if (i != 0) {
            EXPECT_EQ(g_UsersList[i].name[0], 0) << "entry " << i;
        }
    EXPECT_EQ(isBusy, 0);
}

TEST_F(DispatcherTest, ChatComesBackWithTheSendersName) {
    AddUser(0, "Ann");
    AddUser(1, "Bob");
    table.Deliver(CMD_CHAT, 1, "hello all");
    Pump();
    ASSERT_EQ(frameUi.chat.size(), 1u);
    EXPECT_EQ(frameUi.chat[0], "Bob>hello all");
    EXPECT_EQ(isBusy, 0);
}

TEST_F(DispatcherTest, OversizedPayloadIsDroppedWithoutTouchingTheBuffer) {
    AddUser(0, "Ann");
    AddUser(1, "Bob");
    table.Deliver(CMD_CHAT, 1, std::string(5000, 'x'));
    table.Deliver(CMD_CHAT, 1, std::string(kPayloadBuffer, 'y'));
    table.Deliver(CMD_CHAT, 1, std::string(kPayloadBuffer - 1, 'z'));
    Pump();
    EXPECT_EQ(dispatcher->OversizedDropped(), 2);
    ASSERT_EQ(frameUi.chat.size(), 1u); // the longest text that fits
    EXPECT_EQ(frameUi.chat[0].size(), 4 + kPayloadBuffer - 1);
    EXPECT_EQ(isBusy, 0);
}

TEST_F(DispatcherTest, OversizedStateReplyStillEndsTheAsking) {
    AddUser(0, "Ann");
    AddUser(1, "Bob");
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_EQ(g_bStateAsked, 1);
    table.Deliver(CMD_STATE_REPLY, 1, std::string(6000, 'r'));
    Pump();
    EXPECT_EQ(g_bStateDone, 1);
    EXPECT_EQ(dispatcher->OversizedDropped(), 1);
    EXPECT_NE(flow->SeatPanel(), nullptr); // the table check ran again
}

TEST_F(DispatcherTest, CommandsBeforeTheWindowsExistOnlyResetTheBusyCount) {
    AddUser(0, "Ann");
    AddUser(1, "Bob");
    g_pView = nullptr;
    table.Deliver(CMD_CHAT, 1, "early");
    table.Deliver(CMD_CHAT, 1, "early too");
    Message m;
    ASSERT_TRUE(queue.Pop(m));
    Dispatch(m);
    EXPECT_EQ(isBusy, 0);
    g_pView = &tableView;
    Pump();
    EXPECT_EQ(frameUi.chat.size(), 1u);
}

TEST_F(DispatcherTest, StateRequestIsAnsweredAndTheReplyRebuildsTheGame) {
    StartFourHumans();
    const std::vector<std::string> hands[4] = {
        {"AS", "7H", "8H", "9C", "TC", "JC", "QC", "KC"},
        {"7S", "8S", "9S", "TS", "JS", "QS", "KS", "7C"},
        {"9H", "TH", "JH", "QH", "KH", "AH", "8C", "AC"},
        {"7D", "8D", "9D", "TD", "JD", "QD", "KD", "AD"},
    };
    DealHands(hands);
    SetContract(9, kHeart, 1, 1);
    g_nDealer = 0;
    g_score[0] = 57;
    g_score[1] = 12;
    frameUi.chat = {"Bob>one", "Cid>two"};
    PlayFrom(1, "KS");

    table.Deliver(CMD_STATE_REQUEST, 2, "");
    Pump();
    const auto replies = table.SentOf(CMD_STATE_REPLY);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].to, 2);
    const std::string reply = replies[0].text;
    ASSERT_GT(reply.size(), 2u);
    EXPECT_LT(reply.size(), kPayloadBuffer);
    EXPECT_EQ(reply.find('\0'), std::string::npos);

    // A second program, sitting nowhere, applies the reply.
    TearDown();
    SetUp();
    AddUser(0, "Ann", -1, 0x8001);
    AddUser(1, "Bob", -1, 0x8002);
    AddUser(2, "Cid", -1, 0x8003);
    AddUser(3, "Dan", -1, 0x8004);
    conn.m_nUserId = 2;
    table.ownId = 2;
    g_UsersList[2].state = 0x8003;
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 1u);
    table.Deliver(CMD_STATE_REPLY, 0, reply);
    Pump();
    EXPECT_EQ(g_bStateDone, 1);
    EXPECT_EQ(g_contract.value, 9);
    EXPECT_EQ(g_contract.trump, kHeart);
    EXPECT_EQ(g_score[0], 57); // seats 1 and 3 are partners on both programs
    EXPECT_EQ(g_score[1], 12);
    EXPECT_EQ(g_pTable->Count(), 1);
    EXPECT_EQ(flow->SeatPanel(), nullptr); // the game is on: no seat panel
    EXPECT_GE(frameUi.chat.size(), 2u);
}

TEST_F(DispatcherTest, UnaskedStateReplyIsIgnored) {
    StartFourHumans();
    g_score[0] = 40;
    table.Deliver(CMD_STATE_REPLY, 1, "garbage zz");
    Pump();
    EXPECT_EQ(g_score[0], 40);
}

TEST_F(DispatcherTest, AskedProgramLeavingEndsTheAsking) {
    AddUser(0, "Ann");
    AddUser(1, "Bob");
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_EQ(g_bStateAsked, 1);
    table.Deliver(NET_DETACH, 1, "Bob");
    Pump();
    EXPECT_EQ(g_bStateDone, 1);
    EXPECT_NE(flow->SeatPanel(), nullptr);
}

TEST_F(DispatcherTest, CallsGoToTheBiddingPanelAndTheOwnCallIsSnapshotted) {
    StartFourHumans();
    const std::vector<std::string> hands[4] = {
        {"AS", "7H", "8H", "9C", "TC", "JC", "QC", "KC"},
        {"7S", "8S", "9S", "TS", "JS", "QS", "KS", "7C"},
        {"9H", "TH", "JH", "QH", "KH", "AH", "8C", "AC"},
        {"7D", "8D", "9D", "TD", "JD", "QD", "KD", "AD"},
    };
    g_nDealer = 3;
    DealHands(hands);
    CBidPanelCore* panel = flow->BidPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->Model().PlaceToCall(), 0);
    int snapshots = 0;
    flow->SetSnapshotHook([&] { ++snapshots; });

    table.Deliver(CMD_BID, 0, std::string{'\x09', '\x03'}); // 8 in hearts
    table.Deliver(CMD_BID, 1, std::string{'\x01', '\x08'}); // pass
    table.Deliver(CMD_BID_FINISH, 2, std::string{'\x02'});
    Pump();
    EXPECT_EQ(panel->Model().ContractValue(), 8);
    EXPECT_EQ(panel->Model().ContractSuit(), kHeart);
    EXPECT_EQ(panel->Model().ContractBidder(), 0);
    EXPECT_TRUE(panel->Model().IsFinished(2));
    EXPECT_EQ(snapshots, 1); // only the own call
    EXPECT_EQ(g_nBidder, 3); // Cid finished: his turn passed automatically
    EXPECT_EQ(frameUi.Status(), "Waiting for Dan to say...");
}

TEST_F(DispatcherTest, AutoPlaySwitchSetsTheHandsComputerFlag) {
    StartFourHumans();
    table.Deliver(CMD_AUTOPLAY, 1, "\x02");
    Pump();
    EXPECT_EQ(g_pHand[1]->m_bComputer, 1);
    table.Deliver(CMD_AUTOPLAY, 1, "\x01");
    Pump();
    EXPECT_EQ(g_pHand[1]->m_bComputer, 0);
}
