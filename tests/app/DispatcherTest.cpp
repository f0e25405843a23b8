// The command dispatcher: place states, departures, the state request and reply,
// and payloads that do not fit its buffer.
#include "tests/app/AppTestSupport.h"

#include <tuple>

using namespace apptest;

namespace {

class DispatcherTest : public GameFixture {
protected:
    // A fresh program for Eve, who sits nowhere: it starts as a watcher.
    void RestartAsWatcher() {
        Restart(4);
        AddFourHumans();
        AddUser(4, "Eve");
    }
    // The answer is overdue: the question goes out again.
    void AskAgain() {
        platform.tick += kRunningGameRetryMs;
        flow->RepeatStateRequest();
    }
};

} // namespace

TEST_F(DispatcherTest, GameOverStateStopsTheGameAndFreesTheSeat) {
    StartFourHumans();
    ASSERT_TRUE(g_bGameRunning);
    g_bAutoPlay = 1;
    g_bComputerSearch = 1;
    table.DeliverPlaceState(2, static_cast<int16_t>(0x8000));
    Pump();
    // Nothing runs on, the seat is taken as free, and no game is kept.
    EXPECT_EQ(std::tuple(g_bGameRunning, g_bAutoPlay.load(), g_bComputerSearch.load(),
                         g_UsersList[2].state, isBusy.load()),
              std::tuple(0, 0, 0, 0, 0));
    EXPECT_EQ(flow->PendingGame(), nullptr);
}

TEST_F(DispatcherTest, StartedPlayerLeavingKeepsTheGameAndReopensTheSeatPanel) {
    StartFourHumans();
    table.DeliverPlaceState(1, 0);
    Pump();
    EXPECT_EQ(std::tuple(g_bGameRunning, g_UsersList[1].state, viewUi.fills), std::tuple(0, 0, 1));
    EXPECT_EQ(g_pHand[0]->m_nUser, kNoUser);
    EXPECT_TRUE(flow->PendingGame() && flow->SeatPanel());

    // The seat is taken and started again: the kept game resumes instead of a new deal.
    table.DeliverPlaceState(1, static_cast<int16_t>(0x8002));
    Pump();
    EXPECT_TRUE(g_bGameRunning);
    EXPECT_FALSE(flow->SeatPanel() || flow->PendingGame());
    EXPECT_TRUE(table.SentOf(CMD_NEW_DEAL).empty());
}

TEST_F(DispatcherTest, ComputerPartnersLeaveWithTheirOwner) {
    AddUser(0, "Ann");
    AddUser(1, "Bob");
    CheckTable();
    table.DeliverPlaceState(0, 1);
    table.DeliverPlaceState(1, 2);
    table.Deliver(NET_ADDAUTO, 1, "\x03");
    table.Deliver(NET_ADDAUTO, 1, "\x04");
    table.Deliver(NET_ADDAUTO, 1, "\x05"); // no such partner
    Pump();
    EXPECT_EQ(std::tuple(g_UsersList[104].owner, flow->SeatPanel()->Occupant(3)),
              std::tuple(1, 103));
    ASSERT_EQ(frameUi.users.size(), 2u);

    table.Deliver(NET_DETACH, 1, "Bob");
    Pump();
    EXPECT_EQ(frameUi.removed, (std::vector<std::string>{"Tesiva", "Olvessa", "Bob"}));
    for (int seat = 2; seat <= 4; ++seat)
        EXPECT_EQ(flow->SeatPanel()->Occupant(seat), -1) << seat;
    EXPECT_EQ(flow->SeatPanel()->Occupant(1), 0);
}

TEST_F(DispatcherTest, OversizedPayloadIsDroppedWithoutTouchingTheBuffer) {
    AddUser(0, "Ann");
    AddUser(1, "Bob");
    table.Deliver(CMD_CHAT, 1, std::string(5000, 'x'));
    table.Deliver(CMD_CHAT, 1, std::string(kPayloadBuffer, 'y'));
    table.Deliver(CMD_CHAT, 1, std::string(kPayloadBuffer - 1, 'z'));
    Pump();
    EXPECT_EQ(std::tuple(dispatcher->OversizedDropped(), frameUi.chat.size(), isBusy.load()),
              std::tuple(2, 1u, 0));
    EXPECT_EQ(frameUi.chat[0].size(), 4 + kPayloadBuffer - 1); // the longest text that fits

    // A dropped state reply still ends the asking.
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_EQ(g_bStateAsked, 1);
    table.Deliver(CMD_STATE_REPLY, 1, std::string(6000, 'r'));
    Pump();
    EXPECT_EQ(std::tuple(g_bStateDone, dispatcher->OversizedDropped()), std::tuple(1, 3));
    EXPECT_NE(flow->SeatPanel(), nullptr); // the table check ran again
}

TEST_F(DispatcherTest, StateRequestIsAnsweredAndTheReplyRebuildsTheGame) {
    StartFourHumans();
    DealHands();
    SetContract(9, kHeart, 1, 1);
    g_nDealer = 0;
    g_score[0] = 57;
    g_score[1] = 12;
    for (int i = 0; i < 15; ++i) // more chat than fits: the oldest lines are dropped
        frameUi.chat.push_back(std::string(250, static_cast<char>('a' + i)));
    PlayFrom(1, "KS");

    table.Deliver(CMD_STATE_REQUEST, 2, "");
    Pump();
    const auto replies = table.SentOf(CMD_STATE_REPLY);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].to, 2);
    const std::string reply = replies[0].text;
    ASSERT_TRUE(reply.size() > 2u && reply.size() < kPayloadBuffer);
    EXPECT_EQ(reply.find('\0'), std::string::npos);
    EXPECT_NE(reply.find(std::string(250, 'a' + 14)), std::string::npos);
    EXPECT_EQ(reply.find(std::string(250, 'a')), std::string::npos);

    // A second program, sitting nowhere, applies the reply.
    Restart(2);
    AddFourHumans();
    // A reply this program did not ask for changes nothing.
    table.Deliver(CMD_STATE_REPLY, 0, reply);
    Pump();
    EXPECT_EQ(std::tuple(g_bStateDone, g_score[0]), std::tuple(0, 0));
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 1u);
    // Cards played while waiting: Bob's is in the reply already, Cid's comes after it.
    PlayFrom(PlaceOfUser(1), "KS");
    table.Deliver(CMD_PLAY_CARD, 2, CardText("9H"));
    table.Deliver(CMD_STATE_REPLY, 0, reply);
    Pump();
    // Seats 1 and 3 are partners on both programs; both cards lie on the table.
    EXPECT_EQ(std::tuple(g_bStateDone, g_contract.value, g_contract.trump, g_score[0], g_score[1]),
              std::tuple(1, 9, kHeart, 57, 12));
    EXPECT_EQ(std::tuple(g_pTable->Count(), g_pHand[PlaceOfUser(1)]->Count(), g_pHand[0]->Count()),
              std::tuple(2, 7, 7));
    EXPECT_EQ(flow->SeatPanel(), nullptr); // the game is on: no seat panel
    EXPECT_EQ(frameUi.chat.back(), std::string(250, 'a' + 14));
}

TEST_F(DispatcherTest, KeptGameOfALostDealerResumesAtTheNewDealersTable) {
    // The answer of a program that holds nothing, and that of a program that kept
    // the game when its dealer was lost.
    const std::string emptyReply = flow->BuildStateReplyText();
    StartFourHumans();
    DealHands();
    SetContract(9, kHeart, 1, 1);
    PlayFrom(1, "KS");
    flow->KeepRunningGame();
    const std::string keptReply = flow->BuildStateReplyText();

    // A survivor asks the new dealer, which holds no game: it keeps its own.
    Restart(1);
    flow->KeepRunningGame();
    ASSERT_NE(flow->PendingGame(), nullptr);
    AddUser(0, "Dan");
    AddUser(1, "Bob");
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 1u);
    table.Deliver(CMD_STATE_REPLY, 0, emptyReply);
    Pump();
    EXPECT_TRUE(g_bStateDone && flow->PendingGame());

    // The new dealer, alone at first, started at seat 1.
    Restart(0);
    AddUser(0, "Dan");
    CheckTable();
    table.DeliverPlaceState(0, static_cast<int16_t>(0x8001));
    Pump();
    // The survivor asks it for the running game: it answers and asks back.
    AddUser(1, "Bob");
    table.Deliver(CMD_STATE_REQUEST, 1, "");
    Pump();
    ASSERT_EQ(
        std::tuple(table.SentOf(CMD_STATE_REPLY).size(), table.SentOf(CMD_STATE_REQUEST).size()),
        std::tuple(1u, 1u));
    EXPECT_EQ(table.SentOf(CMD_STATE_REQUEST)[0].to, 1);
    // All four seats start before the answer: no fresh game is dealt.
    AddUser(2, "Cid");
    AddUser(3, "Dee");
    for (uint16_t u = 1; u <= 3; ++u)
        table.DeliverPlaceState(u, static_cast<int16_t>(0x8001 + u));
    Pump();
    EXPECT_TRUE(g_bGameRunning && table.SentOf(CMD_NEW_DEAL).empty());
    // The answer brings the kept game, which resumes where it stopped.
    table.Deliver(CMD_STATE_REPLY, 1, keptReply);
    Pump();
    EXPECT_EQ(flow->PendingGame(), nullptr);
    EXPECT_EQ(std::tuple(g_contract.value, g_pTable->Count(), g_pHand[0]->Count()),
              std::tuple(9, 1, 8));
    EXPECT_TRUE(table.SentOf(CMD_NEW_DEAL).empty());
}

TEST_F(DispatcherTest, CommandsHeldWhileAskingAreAppliedOnlyWhenTheAnswerMissesThem) {
    const std::string pass{1, 8}, bet{10, 1};
    StartFourHumans();
    g_nDealer = 3;
    DealHands();
    ASSERT_NE(flow->BidPanel(), nullptr);
    table.Deliver(CMD_BID, 0, pass);
    Pump();
    const std::string reply = flow->BuildStateReplyText();
    table.Deliver(CMD_BID, 1, bet);
    Pump();
    const CBiddingModel& asked = flow->BidPanel()->Model();
    const std::vector<uint8_t> calls(asked.Log(), asked.Log() + asked.LogLength());
    ASSERT_EQ(calls.size(), 6u);
    const int toCall = UserAtPlace(asked.PlaceToCall());

    // A watcher: Ann's pass waits in its queue when it asks, Bob's bet comes after.
    RestartAsWatcher();
    table.Deliver(CMD_BID, 0, pass);
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 1u);
    table.Deliver(CMD_BID, 1, bet);
    table.Deliver(CMD_STATE_REPLY, 0, reply);
    Pump();
    ASSERT_EQ(g_bStateDone, 1);
    ASSERT_NE(flow->BidPanel(), nullptr);
    const CBiddingModel& watched = flow->BidPanel()->Model();
    EXPECT_EQ(std::vector<uint8_t>(watched.Log(), watched.Log() + watched.LogLength()), calls);
    EXPECT_EQ(UserAtPlace(watched.PlaceToCall()), toCall);
}

TEST_F(DispatcherTest, BiddingPanelEnablesTheOwnCallsOfEachSituation) {
    StartFourHumans();
    g_nDealer = 3;
    DealHands();
    CBidPanelCore* panel = flow->BidPanel();
    ASSERT_NE(panel, nullptr);
    const std::string pass{1, 8}, dbl{1, 6};
    // After each call from the table: the own Pass, Bet, Double, ReDouble, Close, default button.
    const struct {
        int from;
        std::string call;
        bool pass, bet, dbl, rdbl, close;
        int def;
    } steps[] = {
        {-1, "", true, true, false, false, false, 0},      // own turn, no contract
        {0, pass, false, false, false, false, false, -1},  // others' turn
        {1, {10, 1}, false, false, true, false, false, 2}, // the opponents' contract
        {2, {11, 3}, false, false, false, false, false, -1},
        {3, dbl, true, false, false, true, false, 0}, // own turn, own contract doubled
        {0, pass, false, false, false, true, false, 3},
        {1, pass, false, false, false, false, true, 4}, // the bidding is over
    };
    for (const auto& s : steps) {
        if (s.from >= 0) table.Deliver(CMD_BID, static_cast<uint16_t>(s.from), s.call);
        Pump();
        const BidControls& c = panel->Model().Controls();
        EXPECT_EQ(std::tuple(c.pass, c.bet, c.dbl, c.redouble, c.close, c.defaultButton),
                  std::tuple(s.pass, s.bet, s.dbl, s.rdbl, s.close, s.def))
            << "after " << s.from;
    }
    EXPECT_TRUE(panel->Model().IsOver());
}

// A watcher asks again while the first answer is on its way and the next deal
// starts between the two questions. Whichever question the answer it takes
// belongs to, it ends where the table is: the rest of the deal scored once, the
// next deal dealt once.
TEST_F(DispatcherTest, AnswerAcrossANewDealIsTakenForTheQuestionItAnswers) {
    struct Command {
        int16_t cmd;
        uint16_t from;
        std::string text;
    };
    std::vector<Command> later; // relayed after the first question
    const auto relay = [&](int16_t cmd, uint16_t from, const std::string& text) {
        later.push_back({cmd, from, text});
        table.Deliver(cmd, from, text);
        Pump();
    };
    StartDeal(1);
    PlayFrom(1, "KS");
    PlayFrom(2, "9H");
    const std::string early = flow->BuildStateReplyText();
    for (int guard = 0; guard < 40 && g_nDeals == 0; ++guard) {
        const std::string card = FirstCardOfTurn();
        ASSERT_FALSE(card.empty());
        relay(CMD_PLAY_CARD, static_cast<uint16_t>(UserAtPlace(g_contract.turn)), card);
    }
    ASSERT_EQ(g_nDeals, 1);
    relay(CMD_NEW_DEAL, static_cast<uint16_t>(UserAtPlace(g_nDealer)), "");
    for (int place = 0; place < 4; ++place) {
        std::string packet(1, static_cast<char>(UserAtPlace(place) + 1));
        for (const std::string& c : kHands[place])
            packet += static_cast<char>(g_pDeck->FindSlot(Code(c)) + 1);
        relay(CMD_DEAL_PACKET, 0, packet);
    }
    const std::string late = flow->BuildStateReplyText();
    const auto state = [this] {
        // Totals by partnership (Ann's first), as each program counts from its own place.
        const int ann = PlaceOfUser(0) % 2;
        std::vector<int> s{g_nDeals,          g_score[ann],
                           g_score[1 - ann],  SeatOfPlace(g_nDealer),
                           g_pTable->Count(), flow->BidPanel() != nullptr};
        for (int user = 0; user < 4; ++user)
            s.push_back(g_pHand[PlaceOfUser(user)]->Count());
        return s;
    };
    const std::vector<int> expected = state();
    ASSERT_EQ(expected[0], 1);

    for (const std::string* answer : {&early, &late}) {
        SCOPED_TRACE(answer == &early ? "answer to the first question" : "answer to the second");
        RestartAsWatcher();
        flow->OnGameStep(STEP_CHECK_TABLE, 0);
        for (const Command& c : later)
            table.Deliver(c.cmd, c.from, c.text);
        Pump();
        AskAgain();
        ASSERT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 2u);
        table.Deliver(CMD_STATE_REPLY, 0, *answer);
        Pump();
        ASSERT_EQ(g_bStateDone, 1);
        EXPECT_EQ(state(), expected);
    }
}

// The same within a bidding: a call relayed between the two questions is
// applied after an answer to the first and not again after one to the second.
TEST_F(DispatcherTest, CallsBetweenTwoQuestionsAreAppliedOnceWhicheverIsAnswered) {
    const std::string pass{1, 8}, bet{10, 1}, higher{11, 3};
    StartFourHumans();
    g_nDealer = 3;
    DealHands();
    table.Deliver(CMD_BID, 0, pass);
    Pump();
    const std::string first = flow->BuildStateReplyText();
    table.Deliver(CMD_BID, 1, bet);
    Pump();
    const std::string second = flow->BuildStateReplyText();
    table.Deliver(CMD_BID, 2, higher);
    Pump();
    const auto calls = [this] {
        const CBiddingModel& m = flow->BidPanel()->Model();
        return std::tuple(std::vector<uint8_t>(m.Log(), m.Log() + m.LogLength()),
                          SeatOfPlace(m.PlaceToCall()));
    };
    const auto expected = calls();

    for (const std::string* answer : {&first, &second}) {
        SCOPED_TRACE(answer == &first ? "answer to the first question" : "answer to the second");
        RestartAsWatcher();
        table.Deliver(CMD_BID, 0, pass);
        flow->OnGameStep(STEP_CHECK_TABLE, 0);
        table.Deliver(CMD_BID, 1, bet);
        Pump();
        AskAgain();
        ASSERT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 2u);
        table.Deliver(CMD_BID, 2, higher);
        table.Deliver(CMD_STATE_REPLY, 0, *answer);
        Pump();
        ASSERT_NE(flow->BidPanel(), nullptr);
        EXPECT_EQ(calls(), expected);
    }
}

// The question arrives while the last card of a deal is applied (the trick is
// being gathered and messages are dispatched): the answer waits until the deal
// is scored, and what came after the question is applied after the answer.
TEST_F(DispatcherTest, QuestionMetWhileACardIsAppliedIsAnsweredOnceTheCardIsWhole) {
    StartDeal(1);
    tableView.onGather = [this] { Pump(); };
    for (int guard = 0; guard < 40 && g_nDeals == 0; ++guard) {
        const std::string card = FirstCardOfTurn();
        ASSERT_FALSE(card.empty());
        table.Deliver(CMD_PLAY_CARD, static_cast<uint16_t>(UserAtPlace(g_contract.turn)), card);
        if (g_pTable->Count() == 31) {
            table.Deliver(CMD_STATE_REQUEST, 4, "");
            table.Deliver(CMD_NEW_DEAL, static_cast<uint16_t>(UserAtPlace(1)), "");
        }
        Pump();
    }
    ASSERT_EQ(g_nDeals, 1);
    const auto replies = table.SentOf(CMD_STATE_REPLY);
    ASSERT_EQ(replies.size(), 1u);
    const std::vector<int> scored{g_score[PlaceOfUser(0) % 2], g_score[1 - PlaceOfUser(0) % 2]};

    RestartAsWatcher();
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    table.Deliver(CMD_STATE_REPLY, 0, replies[0].text);
    Pump();
    const int ann = PlaceOfUser(0) % 2;
    EXPECT_EQ(std::tuple(g_bStateDone, g_nDeals, std::vector<int>{g_score[ann], g_score[1 - ann]}),
              std::tuple(1, 1, scored));
}
