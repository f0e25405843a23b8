// Player hands: dealing, loading, playing, sorting, and drawing through the view.
#include <gtest/gtest.h>

#include <set>

#include "rules/DealRandom.h"
#include "tests/rules/RulesFixture.h"

namespace {

using Hands = RulesTable;

TEST_F(Hands, TakeListedLoadCardsAndPlay) {
    uint8_t list[] = {1, 5, 32, 0};
    g_pHand[3]->TakeListed(g_pDeck, list);
    EXPECT_EQ(g_pHand[3]->Count(), 3);
    g_pHand[1]->TakeListed(g_pDeck, list);
    EXPECT_EQ(g_pHand[1]->Count(), 0) << "a dealt slot is not handed out again";
    uint8_t stored[kPileSlots];
    std::memset(stored, 255, sizeof stored);
    stored[4] = Card(kJack, kDiamond) + 1;
    stored[9] = Card(kAce, kHeart) + 1;
    stored[10] = 5 + 1; // no such card in the deck
    g_pHand[0]->LoadCards(stored);
    EXPECT_EQ(g_pHand[0]->Count(), 2);
    EXPECT_EQ(std::memcmp(g_pHand[0]->m_cardBytes, stored, 10), 0);
    EXPECT_EQ(g_pHand[0]->PlayFromHand(Card(kAce, kClub), false), nullptr);
    CCard* card = g_pHand[0]->PlayFromHand(Card(kAce, kHeart), false);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(g_pHand[0]->Count(), 1);
    EXPECT_EQ(card->m_nRef, 2); // the deck and the caller
    card->Release();
}

TEST_F(Hands, SendDealPromisesEverySlotOnce) {
    RecordingFrame frame;
    g_pMainFrame = &frame;
    SeedDealRandom(12345);
    for (int pass : {3, 2, 3})
        for (int place = 1; place <= 4; ++place)
            g_pHand[place % 4]->SendDeal(g_pDeck, pass);
    ASSERT_EQ(frame.commands.size(), 12u);
    std::set<int> slots;
    for (const auto& cmd : frame.commands) {
        EXPECT_EQ(cmd.to, -1);
        EXPECT_EQ(cmd.cmd, 2);
        const int place = PlaceOfUser(static_cast<uint8_t>(cmd.text[0]) - 1);
        ASSERT_GE(place, 0);
        for (size_t i = 1; i < cmd.text.size(); ++i)
            EXPECT_TRUE(slots.insert(static_cast<uint8_t>(cmd.text[i])).second);
        g_pHand[place]->TakeListed(g_pDeck, reinterpret_cast<const uint8_t*>(cmd.text.c_str()) + 1);
    }
    EXPECT_EQ(slots.size(), 32u);
    for (int place = 0; place < 4; ++place)
        EXPECT_EQ(g_pHand[place]->Count(), 8);
}

TEST_F(Hands, ArrangeSortsAndListSelectedRunsFromTheLastSlot) {
    Give(0, {Card(kAce, kHeart), Card(kSeven, kHeart), Card(kAce, kSpade), Card(kKing, kClub)});
    g_pHand[0]->Arrange();
    // Clubs, diamonds, spades, hearts; within a suit seven to king, then the ace.
    const int sorted[4] = {Card(kKing, kClub), Card(kAce, kSpade), Card(kSeven, kHeart),
                           Card(kAce, kHeart)};
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_EQ(g_pHand[0]->CardAt(slot)->m_nCode, sorted[slot]);
    uint8_t out[kPileSlots + 1];
    g_pHand[0]->ListSelected(NaturalCardSet(sorted[3]) | NaturalCardSet(sorted[0]), out);
    EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{sorted[3] + 1, sorted[0] + 1, 0}));
}

TEST_F(Hands, ClearAndResetGame) {
    Give(0, {Card(kAce, kHeart)});
    g_pHand[0]->m_bMayDeclare = 0;
    g_pHand[0]->m_nPoints = 40;
    g_pHand[0]->m_selSet = 1;
    g_pHand[0]->Clear();
    EXPECT_EQ(g_pHand[0]->Count(), 0);
    EXPECT_EQ(g_pHand[0]->m_bMayDeclare, 1);
    EXPECT_EQ(g_pHand[0]->m_nPoints, 0);
    EXPECT_EQ(g_pHand[0]->m_selSet, 0u);
    AddUser(101, 3, 0); // a computer partner of this program takes seat 3
    g_UsersList[2].state = 0;
    RebuildSeating();
    g_score[0] = 40;
    g_nDeals = 3;
    SetDealInt(0, kDealPoints0, 9);
    ResetGame();
    EXPECT_EQ(g_score[0], 0);
    EXPECT_EQ(g_nDeals, 0);
    EXPECT_EQ(GetDealInt(0, kDealPoints0), 0);
    EXPECT_EQ(g_pHand[2]->m_nUser, 101);
    EXPECT_EQ(g_pHand[2]->m_bComputer, 1);
    g_pHand[2]->m_bComputer = 0;
    g_pHand[1]->m_bComputer = 1;
    RefreshComputerFlags();
    EXPECT_EQ(g_pHand[2]->m_bComputer, 1);
    EXPECT_EQ(g_pHand[1]->m_bComputer, 0);
}

TEST_F(Hands, CardsDrawThroughTheView) {
    RecordingView view;
    g_pView = &view;
    g_nCardBack = 57;
    Give(1, {Card(kAce, kSpade)});
    Give(0, {Card(kAce, kHeart)});
    ASSERT_EQ(view.draws.size(), 2u);
    EXPECT_EQ(view.draws[0].card, 57) << "face-down cards show the chosen back";
    EXPECT_EQ(view.draws[1].card, Card(kAce, kHeart));
    g_pHand[0]->CardAt(0)->MoveBy(0, -30);
    EXPECT_EQ(view.erases, 1) << "a drawn card is erased before it moves";
    g_pHand[0]->Clear();
    EXPECT_EQ(view.erases, 1) << "an erased card is not erased again";
    g_pHand[1]->Clear();
    EXPECT_EQ(view.erases, 2) << "a pile letting a card go takes it off the table";
    g_pHand[1]->DrawLabel(false, false);
    EXPECT_EQ(view.texts.back(), "P1");
    g_bOverlay = 1;
    g_pHand[1]->DrawLabel(false, false);
    EXPECT_EQ(view.texts.size(), 1u) << "nothing while the score sheet covers the table";
}

} // namespace
