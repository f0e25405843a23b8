// The step machine and the game flow, driven through the message queue.
#include "tests/app/AppTestSupport.h"

#include "rules/Declarations.h"

using namespace apptest;

namespace {

// Four one-suit hands with a few exchanges: place 0 leads the clubs.
const std::vector<std::string> kHands[4] = {
    {"AS", "7H", "8H", "9C", "TC", "JC", "QC", "KC"},
    {"7S", "8S", "9S", "TS", "JS", "QS", "KS", "7C"},
    {"9H", "TH", "JH", "QH", "KH", "AH", "8C", "AC"},
    {"7D", "8D", "9D", "TD", "JD", "QD", "KD", "AD"},
};

std::string CardText(const std::string& card) {
    return std::string(1, static_cast<char>(Code(card) + 1));
}

class FlowTest : public GameFixture {
protected:
    // The deal above with a club contract of 8 for place 0; `turn` plays first.
    void SetUpDeal(int turn) {
        StartFourHumans();
        DealHands(kHands);
        g_nDealer = (turn + 3) % 4;
        SetContract(8, kClub, 0, turn);
        EvaluateDeclarations();
        table.sent.clear();
        platform.beeps.clear();
    }

    // Plays the rest of the deal from the table, each place its first card.
    void PlayOut() {
        const int deals = g_nDeals;
        for (int guard = 0; guard < 40 && g_nDeals == deals; ++guard) {
            const int p = g_contract.turn;
            ASSERT_TRUE(p >= 0 && p < 4);
            CCard* card = nullptr;
            for (int slot = 0; slot < kPileSlots && !card; ++slot)
                card = g_pHand[p]->CardAt(slot);
            ASSERT_NE(card, nullptr);
            table.Deliver(CMD_PLAY_CARD, UserAtPlace(p),
                          std::string(1, static_cast<char>(card->m_nCode + 1)));
            Pump();
        }
    }
};

} // namespace

// ---- dealing ------------------------------------------------------------------------

TEST_F(FlowTest, DealerAtPlaceTwoDealsLeftOfDealerFirstAndItselfLast) {
    // Own user at seat 1; this program's computer partner sits at seat 3 (place 2).
    AddUser(0, "Ann", -1, 0x8001);
    AddUser(1, "Bob", -1, 0x8002);
    AddUser(2, "Dan", -1, 0x8004);
    AddUser(103, "Tesiva", 0, 0x8003);
    g_bStateDone = 1;
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    Pump();
    ASSERT_EQ(UserAtPlace(2), 103);

    table.Deliver(CMD_NEW_DEAL, 103, "");
    Pump();

    EXPECT_EQ(g_nDealer, 2);
    const auto packets = table.SentOf(CMD_DEAL_PACKET);
    ASSERT_EQ(packets.size(), 12u);
    const int expectedPlace[4] = {3, 0, 1, 2};
    const size_t expectedCount[3] = {3, 2, 3};
    for (size_t i = 0; i < packets.size(); ++i) {
        const int user = static_cast<uint8_t>(packets[i].text[0]) - 1;
        EXPECT_EQ(PlaceOfUser(user), expectedPlace[i % 4]) << "packet " << i;
        EXPECT_EQ(packets[i].text.size() - 1, expectedCount[i / 4]) << "packet " << i;
    }
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(g_pHand[p]->Count(), 8) << "place " << p;
    // The last packet opened the bidding.
    EXPECT_NE(flow->BidPanel(), nullptr);
    EXPECT_EQ(viewUi.biddingShown, 1);
    EXPECT_EQ(g_nBidder, 3);
    EXPECT_EQ(viewUi.scoreSheets, 1);
}

TEST_F(FlowTest, NewDealFromUserWithoutPlaceMakesPlaceOneTheDealer) {
    StartFourHumans();
    table.Deliver(CMD_NEW_DEAL, 77, "");
    Pump();
    EXPECT_EQ(g_nDealer, 1);
    EXPECT_TRUE(table.SentOf(CMD_DEAL_PACKET).empty());
}

// ---- the player's clicks -------------------------------------------------------------

TEST_F(FlowTest, RefusedCardBeepsAndTellsWhatToPlay) {
    SetUpDeal(1);
    PlayFrom(1, "KS");
    PlayFrom(2, "9H");
    PlayFrom(3, "7D");
    ASSERT_EQ(g_contract.turn, 0);
    EXPECT_EQ(frameUi.Status(), "Select a card to play.");

    int x = 0, y = 0;
    ASSERT_TRUE(CardPoint("7H", &x, &y));
    flow->OnLeftButtonDown(x, y);
    EXPECT_TRUE(table.SentOf(CMD_PLAY_CARD).empty());
    ASSERT_EQ(platform.beeps.size(), 1u);
    EXPECT_EQ(platform.beeps[0], kBeepDefault);
    EXPECT_EQ(frameUi.Status(), "Play a Spade.");
    EXPECT_EQ(g_bClickBusy, 0);

    ASSERT_TRUE(CardPoint("AS", &x, &y));
    flow->OnLeftButtonDown(x, y);
    const auto plays = table.SentOf(CMD_PLAY_CARD);
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].text, CardText("AS"));
    EXPECT_EQ(plays[0].from, -1);
    // Nothing changes before the command comes back.
    EXPECT_EQ(g_pHand[0]->Count(), 8);
    Pump();
    EXPECT_EQ(g_pHand[0]->Count(), 7);
    EXPECT_EQ(g_contract.turn, 0); // the ace took the trick
}

TEST_F(FlowTest, ClicksOutOfTurnOrWhileTheScoreSheetIsUpSendNothing) {
    SetUpDeal(1);
    int x = 0, y = 0;
    ASSERT_TRUE(CardPoint("AS", &x, &y));
    flow->OnLeftButtonDown(x, y); // place 1 is to play
    g_contract.turn = 0;
    g_bOverlay = 1;
    flow->OnLeftButtonDown(x, y); // only removes the score sheet
    EXPECT_EQ(g_bOverlay, 0);
    EXPECT_TRUE(table.sent.empty());
}

TEST_F(FlowTest, ClickIsDroppedWhenTheTableStaysBusy) {
    SetUpDeal(0);
    isBusy = 5; // nobody reports idle within the tries
    int x = 0, y = 0;
    ASSERT_TRUE(CardPoint("AS", &x, &y));
    flow->OnLeftButtonDown(x, y);
    EXPECT_TRUE(table.SentOf(CMD_PLAY_CARD).empty());
    EXPECT_EQ(g_bClickBusy, 0);
    isBusy = 0;
}

TEST_F(FlowTest, AnnouncingShowsTheTextAndTheRefereeOrder) {
    SetUpDeal(0);
    ASSERT_EQ(g_declare[0].value, 28); // 9 to king of clubs, clubs trumps
    ASSERT_EQ(g_declare[3].value, 29); // eight diamonds
    table.Deliver(CMD_DECLARE, 3, "");
    Pump();
    ASSERT_EQ(frameUi.chat.size(), 1u);
    EXPECT_EQ(frameUi.chat[0], std::string("Dan>") + g_declare[3].text);

    flow->OnLeftDoubleClick(0, 0);
    ASSERT_EQ(table.SentOf(CMD_DECLARE).size(), 1u);
    Pump();
    EXPECT_EQ(g_declare[0].announced, 1);
    ASSERT_EQ(frameUi.chat.size(), 3u);
    EXPECT_EQ(frameUi.chat[1], std::string("Ann>") + g_declare[0].text);
    EXPECT_EQ(frameUi.chat[2], "Referee> Order - (Dan) (Ann) ");

    // A second double click sends nothing: the place has announced.
    flow->OnLeftDoubleClick(0, 0);
    EXPECT_EQ(table.SentOf(CMD_DECLARE).size(), 1u);
}

TEST_F(FlowTest, ShowingPicksCardsRaisesTheShowButtonAndEnds) {
    SetUpDeal(0);
    flow->OnLeftDoubleClick(0, 0);
    Pump();
    int x = 0, y = 0;
    ASSERT_TRUE(CardPoint("AS", &x, &y));
    flow->OnLeftButtonDown(x, y);
    Pump();
    PlayFrom(1, "7S");
    PlayFrom(2, "9H");
    PlayFrom(3, "7D");
    ASSERT_EQ(g_contract.turn, 0);
    ASSERT_EQ(g_pHand[0]->CanShowNow(), 1);

    ASSERT_TRUE(CardPoint("9C", &x, &y));
    flow->OnRightButtonDown(x, y);
    Pump();
    EXPECT_TRUE(flow->HasShowButton());
    EXPECT_FALSE(flow->ShowButtonEnabled()); // one card is no declaration
    EXPECT_TRUE(viewUi.showButton);
    for (const char* card : {"TC", "JC"}) {
        ASSERT_TRUE(CardPoint(card, &x, &y));
        // While the button is up, a left click picks cards like a right click.
        flow->OnLeftButtonDown(x, y);
        Pump();
    }
    EXPECT_TRUE(flow->ShowButtonEnabled()); // a Terz
    EXPECT_TRUE(table.SentOf(CMD_PLAY_CARD).size() == 1u);

    flow->OnShowButton();
    Pump();
    EXPECT_EQ(g_declare[0].shown, 1);
    EXPECT_FALSE(flow->HasShowButton());
    EXPECT_FALSE(viewUi.showButton);
    EXPECT_EQ(g_pHand[0]->m_nPoints, 20);
}

// ---- the end of a deal and of a game ---------------------------------------------------

TEST_F(FlowTest, EndOfDealScoresAndTheNextDealerAnnouncesWhenHandledHere) {
    SetUpDeal(1);
    g_nDealer = 3; // the next dealer is place 0, this program
    PlayOut();
    EXPECT_EQ(g_nDeals, 1);
    EXPECT_GT(g_score[0], 0);
    EXPECT_EQ(g_nDealer, 0);
    EXPECT_TRUE(g_bGameRunning);
    EXPECT_EQ(table.SentOf(CMD_NEW_DEAL).size(), 1u);
    EXPECT_EQ(table.SentOf(CMD_NEW_DEAL)[0].from, 0);
}

TEST_F(FlowTest, TotalOfThreeHundredGoesOn) {
    SetUpDeal(1);
    PlayOut();
    const int gained = g_score[0];
    const int other = g_score[1];
    ASSERT_GT(gained, 0);
    ASSERT_LE(other, 300);

    TearDown();
    SetUp();
    SetUpDeal(1);
    g_score[0] = 300 - gained;
    PlayOut();
    EXPECT_EQ(g_score[0], 300);
    EXPECT_TRUE(g_bGameRunning);
    EXPECT_TRUE(g_bSeated);
    EXPECT_TRUE(table.SentOf(NET_PLACESTATE).empty());
}

TEST_F(FlowTest, TotalAboveThreeHundredEndsTheGame) {
    SetUpDeal(1);
    PlayOut();
    const int gained = g_score[0];

    TearDown();
    SetUp();
    SetUpDeal(1);
    g_score[0] = 301 - gained;
    const int sheets = viewUi.scoreSheets;
    PlayOut();
    EXPECT_EQ(g_score[0], 301);
    const auto states = table.SentOf(NET_PLACESTATE);
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(static_cast<uint16_t>(states[0].from), 0x8000);
    for (int user = 0; user < 4; ++user)
        EXPECT_EQ(g_UsersList[user].state, 0) << "user " << user;
    EXPECT_FALSE(g_bGameRunning);
    EXPECT_FALSE(g_bSeated);
    // The table check opened the seat panel again, over the score sheet.
    EXPECT_NE(flow->SeatPanel(), nullptr);
    EXPECT_EQ(viewUi.scoreSheets, sheets + 1);
}

// ---- status, AutoPlay, chat --------------------------------------------------------------

TEST_F(FlowTest, StatusNamesThePlayerAwaited) {
    SetUpDeal(1);
    flow->UpdateStatus();
    EXPECT_EQ(frameUi.Status(), "Waiting for Bob to move...");
    g_nBidder = 0;
    flow->UpdateStatus();
    EXPECT_EQ(frameUi.Status(), "Please choose anything to say.");
    g_nBidder = 2;
    flow->UpdateStatus();
    EXPECT_EQ(frameUi.Status(), "Waiting for Cid to say...");
}

TEST_F(FlowTest, AutoPlaySendsTheSwitchAndMovesWhenItIsOurTurn) {
    SetUpDeal(0);
    flow->ToggleAutoPlay();
    const auto sent = table.SentOf(CMD_AUTOPLAY);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].text, std::string(1, '\x02'));
    EXPECT_TRUE(StepPending(STEP_AUTO_CARD));
    Drain();
    flow->ToggleAutoPlay();
    EXPECT_EQ(g_bAutoPlay, 0);
    EXPECT_EQ(g_bComputerSearch, 0);
    EXPECT_EQ(table.SentOf(CMD_AUTOPLAY)[1].text, std::string(1, '\x01'));
}

TEST_F(FlowTest, ChatLinesBeepOnlyAfterTwentySecondsOfSilence) {
    StartFourHumans();
    platform.beeps.clear();
    flow->ShowChatLine(1, "hello");
    EXPECT_EQ(platform.beeps.size(), 1u); // long silence before
    flow->ShowChatLine(2, "hi");
    EXPECT_EQ(platform.beeps.size(), 1u);
    platform.tick += 20001;
    flow->ShowChatLine(-1, "Referee> x");
    EXPECT_EQ(platform.beeps.size(), 1u); // referee lines never beep
    flow->ShowChatLine(3, "again");
    EXPECT_EQ(platform.beeps.size(), 1u); // the referee line restarted the time
    EXPECT_EQ(frameUi.chat.back(), "Dan>again");
    EXPECT_EQ(frameUi.chat[2], "Referee> x");
}

TEST_F(FlowTest, AloneAtTheTableTheSeatPanelOpensAtOnce) {
    AddUser(0, "Ann");
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    EXPECT_EQ(g_bStateDone, 1);
    EXPECT_NE(flow->SeatPanel(), nullptr);
    EXPECT_TRUE(table.SentOf(CMD_STATE_REQUEST).empty());
}

TEST_F(FlowTest, AJoiningProgramAsksTheFirstOtherHuman) {
    AddUser(0, "Ann");
    AddUser(2, "Cid");
    AddUser(1, "Bob");
    AddUser(101, "Ivla", 1, 0x8001);
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    const auto asked = table.SentOf(CMD_STATE_REQUEST);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].to, 1);
    EXPECT_EQ(flow->SeatPanel(), nullptr);
    // A second check waits for the answer.
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    EXPECT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 1u);
    EXPECT_EQ(flow->SeatPanel(), nullptr);
    // The dealer may drop the question or the answer as stale: an overdue answer
    // is asked for again, of the same program while it is still there.
    flow->RepeatStateRequest();
    EXPECT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 1u);
    platform.tick += kStateRetryMs;
    flow->RepeatStateRequest();
    ASSERT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 2u);
    EXPECT_EQ(table.SentOf(CMD_STATE_REQUEST)[1].to, 1);
    // When it has left, the next table check asks another.
    std::memset(&g_UsersList[1], 0, sizeof g_UsersList[1]);
    platform.tick += kStateRetryMs;
    flow->RepeatStateRequest();
    EXPECT_EQ(g_bStateAsked, 0);
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    ASSERT_EQ(table.SentOf(CMD_STATE_REQUEST).size(), 3u);
    EXPECT_EQ(table.SentOf(CMD_STATE_REQUEST)[2].to, 2);
}
