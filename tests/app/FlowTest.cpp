// The step machine and the game flow, driven through the message queue.
#include "tests/app/AppTestSupport.h"

using namespace apptest;

namespace {

class FlowTest : public GameFixture {
protected:
    // A click inside a card of the own hand.
    void Click(const char* card) {
        const CCard* c = g_pHand[0]->CardAt(g_pHand[0]->FindSlot(Code(card)));
        ASSERT_NE(c, nullptr) << card;
        flow->OnLeftButtonDown(c->m_nX + 3, c->m_nY + 40);
    }
    // The card played from the keyboard: Left or Right until it is marked, then Enter.
    void PlayByKeys(const char* card) {
        const int slot = g_pHand[0]->FindSlot(Code(card));
        for (int presses = 0; presses < kPileSlots && flow->MarkedSlot() != slot; ++presses)
            flow->MoveHandMark(flow->MarkedSlot() < slot ? 1 : -1);
        ASSERT_EQ(flow->MarkedSlot(), slot) << card;
        flow->PlayMarkedCard();
    }
    int played = 0; // cards PlayOut delivered
    // Plays the rest of the deal from the table, each place its first card.
    void PlayOut() {
        const int deals = g_nDeals;
        for (int guard = 0; guard < 40 && g_nDeals == deals; ++guard) {
            const std::string card = FirstCardOfTurn();
            ASSERT_FALSE(card.empty());
            table.Deliver(CMD_PLAY_CARD, UserAtPlace(g_contract.turn), card);
            Pump();
            ++played;
        }
    }
};

} // namespace

TEST_F(FlowTest, DealerAtPlaceTwoDealsLeftOfDealerFirstAndItselfLast) {
    // This program's computer partner holds seat 3 (place 2) and deals.
    AddUser(0, "Ann", -1, 0x8001);
    AddUser(1, "Bob", -1, 0x8002);
    AddUser(2, "Dan", -1, 0x8004);
    AddUser(103, "Tesiva", 0, 0x8003);
    CheckTable();
    table.Deliver(CMD_NEW_DEAL, 103, "");
    Pump();

    ASSERT_EQ(g_nDealer, 2);
    const auto packets = table.SentOf(CMD_DEAL_PACKET);
    ASSERT_EQ(packets.size(), 12u);
    for (size_t i = 0; i < packets.size(); ++i) { // rounds of 3, 2 and 3 cards
        EXPECT_EQ(PlaceOfUser(static_cast<uint8_t>(packets[i].text[0]) - 1), (i + 3) % 4) << i;
        EXPECT_EQ(packets[i].text.size() - 1, i / 4 == 1 ? 2u : 3u) << "packet " << i;
    }
    // The last packet opened the bidding.
    EXPECT_EQ(std::tuple(viewUi.biddingShown, g_nBidder), std::tuple(1, 3));
}

// By mouse and by keys: a refused card beeps and names what to play, the ace is then sent.
TEST_F(FlowTest, RefusedCardBeepsAndTellsWhatToPlay) {
    for (const bool keys : {false, true}) {
        SCOPED_TRACE(keys ? "keys" : "mouse");
        if (keys) Restart(0);
        StartDeal(1);
        PlayFrom(1, "KS");
        PlayFrom(2, "9H");
        PlayFrom(3, "7D");
        ASSERT_EQ(g_contract.turn, 0);
        // A card from a user without an entry plays for nobody (not for place 0).
        table.Deliver(CMD_PLAY_CARD, 9, CardText("AS"));
        Pump();
        ASSERT_EQ(g_pHand[0]->Count(), 8);
        keys ? PlayByKeys("7H") : Click("7H");
        EXPECT_EQ(std::tuple(table.SentOf(CMD_PLAY_CARD).size(), platform.beeps, frameUi.status),
                  std::tuple(0u, std::vector<int>{kBeepDefault}, "Play a Spade."));

        keys ? PlayByKeys("AS") : Click("AS");
        const auto plays = table.SentOf(CMD_PLAY_CARD);
        ASSERT_EQ(plays.size(), 1u);
        EXPECT_EQ(plays[0].text, CardText("AS"));
        EXPECT_EQ(g_pHand[0]->Count(), 8); // nothing changes before the command comes back
        Pump();
        EXPECT_EQ(std::tuple(g_pHand[0]->Count(), g_contract.turn), std::tuple(7, 0));
    }
    // The played ace's mark moved on to a card still in the hand.
    EXPECT_NE(g_pHand[0]->CardAt(flow->MarkedSlot()), nullptr);
    // Without a seat the keys do nothing, as the mouse does.
    g_bSeated = 0;
    flow->PlayMarkedCard();
    EXPECT_EQ(table.SentOf(CMD_PLAY_CARD).size(), 1u);
}

// A deal ends with its 32nd card; the game goes on at a total of 300 and ends at 301.
TEST_F(FlowTest, EndOfDealScoresAndOnlyMoreThanThreeHundredEndsTheGame) {
    StartDeal(1);
    g_nDealer = 3; // the next dealer is place 0, this program
    PlayOut();
    const int gained = g_score[0];
    ASSERT_GT(gained, 0);
    ASSERT_LE(g_score[1], 300);
    // Scored with the 32nd card, not before.
    EXPECT_EQ(std::tuple(played, g_nDeals, g_pTable->Count(), g_nDealer), std::tuple(32, 1, 0, 0));
    ASSERT_EQ(table.SentOf(CMD_NEW_DEAL).size(), 1u);
    for (const int total : {300, 301}) {
        SCOPED_TRACE(total);
        Restart(0);
        StartDeal(1);
        g_score[0] = total - gained;
        const int sheets = viewUi.scoreSheets;
        PlayOut();
        ASSERT_EQ(g_score[0], total);
        const bool over = total > 300;
        EXPECT_EQ(std::tuple(g_bGameRunning != 0, g_bSeated != 0), std::tuple(!over, !over));
        const auto states = table.SentOf(NET_PLACESTATE);
        if (!over) {
            EXPECT_TRUE(states.empty());
            continue;
        }
        ASSERT_EQ(states.size(), 1u);
        EXPECT_EQ(static_cast<uint16_t>(states[0].from), 0x8000);
        for (int user = 0; user < 4; ++user)
            EXPECT_EQ(g_UsersList[user].state, 0) << "user " << user;
        // The table check opened the seat panel again, over the score sheet.
        EXPECT_NE(flow->SeatPanel(), nullptr);
        EXPECT_EQ(viewUi.scoreSheets, sheets + 1);
    }
}

TEST_F(FlowTest, AJoiningProgramAsksTheFirstOtherHuman) {
    const auto asked = [this] {
        std::vector<int> to;
        for (const SentCommand& c : table.SentOf(CMD_STATE_REQUEST))
            to.push_back(c.to);
        return to;
    };
    AddUser(0, "Ann");
    AddUser(2, "Cid");
    AddUser(1, "Bob");
    AddUser(101, "Ivla", 1, 0x8001);
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    EXPECT_EQ(asked(), std::vector<int>{1});
    // A second check waits for the answer.
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    EXPECT_EQ(asked().size(), 1u);
    EXPECT_EQ(flow->SeatPanel(), nullptr);
    // The dealer may drop the question or the answer as stale: an overdue answer
    // is asked for again, of the same program while it is still there.
    flow->RepeatStateRequest();
    EXPECT_EQ(asked().size(), 1u);
    platform.tick += kRunningGameRetryMs;
    flow->RepeatStateRequest();
    EXPECT_EQ(asked(), (std::vector<int>{1, 1}));
    // When it has left, the next table check asks another.
    std::memset(&g_UsersList[1], 0, sizeof g_UsersList[1]);
    platform.tick += kRunningGameRetryMs;
    flow->RepeatStateRequest();
    EXPECT_EQ(g_bStateAsked, 0);
    flow->OnGameStep(STEP_CHECK_TABLE, 0);
    EXPECT_EQ(asked(), (std::vector<int>{1, 1, 2}));
    // When the one asked leaves the table, the waiting ends and the seats are shown.
    table.Deliver(NET_DETACH, 2, "Cid");
    Pump();
    EXPECT_TRUE(g_bStateDone && flow->SeatPanel());
}
