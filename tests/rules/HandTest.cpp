// Player hands: layout, dealing, sorting, playing, loading, labels and markers.
#include <gtest/gtest.h>

#include <set>

#include "rules/DealRandom.h"
#include "tests/rules/RulesFixture.h"

namespace {

using Hands = RulesTable;

TEST_F(Hands, AssignUserTakesPlaceNameAndFaceMode) {
    CPlayerHand* own = g_pHand[0];
    EXPECT_EQ(own->m_nUser, 0);
    EXPECT_EQ(own->m_nPlace, 0);
    EXPECT_STREQ(own->m_szName, "P0");
    EXPECT_EQ(own->m_nFaceMode, 0);
    EXPECT_EQ(g_pHand[2]->m_nFaceMode, 1);
    EXPECT_EQ(g_pHand[3]->m_nPlace, 3);
    g_UsersList[3].name[0] = '\0';
    CPlayerHand nameless(kNoUser, 8);
    nameless.AssignUser(3);
    EXPECT_STREQ(nameless.m_szName, "???");
    EXPECT_EQ(nameless.m_bComputer, 0);
}

TEST_F(Hands, FaceModeOfAnUnseatedWatcher) {
    g_bSeated = 0;
    CPlayerHand hand(kNoUser, 8);
    hand.AssignUser(0); // place 0, owned by this program
    EXPECT_EQ(hand.m_nFaceMode, 0);
    g_UsersList[0].owner = 3; // somebody else's player at the bottom
    hand.UpdateFaceMode();
    EXPECT_EQ(hand.m_nFaceMode, 1);
    g_nCardBack = 64; // the see-through back shows the faces
    hand.UpdateFaceMode();
    EXPECT_EQ(hand.m_nFaceMode, 0);
}

TEST_F(Hands, LayoutFollowsTheClientSize) {
    RecordingView view;
    g_pView = &view;
    CPlayerHand left(kNoUser, 8), top(kNoUser, 8), bottom(kNoUser, 8), right(kNoUser, 8);
    left.AssignUser(1);
    top.AssignUser(2);
    bottom.AssignUser(0);
    right.AssignUser(3);
    // W 800, H 600, card 71 x 96.
    EXPECT_EQ(left.m_nFirstX, 9);
    EXPECT_EQ(left.m_nFirstY, 56);
    EXPECT_EQ(left.m_nStepY, (600 - 112 - 96) / 7);
    EXPECT_EQ(left.m_nHeight, left.m_nStepY * 7 + 96);
    EXPECT_EQ(right.m_nFirstX, 800 - 71 - 9);
    EXPECT_EQ(top.m_nFirstX, 71 + 65);
    EXPECT_EQ(top.m_nFirstY, 3);
    EXPECT_EQ(top.m_nStepX, (800 - 142 - 130 - 71) / 7);
    EXPECT_EQ(bottom.m_nFirstY, 600 - 96 - 3);
    EXPECT_EQ(bottom.m_nWidth, bottom.m_nStepX * 7 + 71);
    const int cx = (800 - 71) / 2, cy = (600 - 96) / 2;
    EXPECT_EQ(left.m_nPlayX, cx - 30);
    EXPECT_EQ(left.m_nPlayY, cy - 5);
    EXPECT_EQ(right.m_nPlayX, cx + 30);
    EXPECT_EQ(top.m_nPlayY, cy - 30);
    EXPECT_EQ(bottom.m_nPlayX, cx - 5);
    EXPECT_EQ(bottom.m_nPlayY, cy + 30);
}

TEST_F(Hands, LayoutOfASingleCardRow) {
    CPlayerHand one(kNoUser, 1);
    one.AssignUser(1);
    EXPECT_EQ(one.m_nHeight, 96);
    one.AssignUser(2);
    EXPECT_EQ(one.m_nWidth, 71);
}

TEST_F(Hands, CardsLieInRowOrderAndTopAndRightCountFromTheEnd) {
    Give(0, {Card(kAce, kHeart), Card(kSeven, kClub)});
    Give(2, {Card(kAce, kClub)});
    CPlayerHand* own = g_pHand[0];
    CCard* first = own->CardAt(0);
    CCard* second = own->CardAt(1);
    EXPECT_EQ(first->m_nX, own->m_nFirstX);
    EXPECT_EQ(second->m_nX, own->m_nFirstX + own->m_nStepX);
    EXPECT_EQ(first->m_nDrawMode, 0);
    CCard* topCard = g_pHand[2]->CardAt(0);
    EXPECT_EQ(topCard->m_nX, g_pHand[2]->m_nFirstX + g_pHand[2]->m_nStepX * 7);
    EXPECT_EQ(topCard->m_nDrawMode, 1);
    EXPECT_EQ(own->HitSlot(second->m_nX + 2, second->m_nY + 2), 1);
    EXPECT_EQ(own->HitSlot(first->m_nX + 1, first->m_nY + 1), 0);
    EXPECT_EQ(own->HitSlot(-50, -50), -1);
}

TEST_F(Hands, ArrangeSortsAndRelaysTheRow) {
    Give(0, {Card(kAce, kHeart), Card(kSeven, kHeart), Card(kTen, kHeart), Card(kKing, kClub)});
    g_pHand[0]->Arrange();
    const int expected[4] = {Card(kKing, kClub), Card(kSeven, kHeart), Card(kTen, kHeart),
                             Card(kAce, kHeart)};
    for (int slot = 0; slot < 4; ++slot) {
        CCard* card = g_pHand[0]->CardAt(slot);
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->m_nCode, expected[slot]);
        EXPECT_EQ(card->m_nX, g_pHand[0]->m_nFirstX + g_pHand[0]->m_nStepX * slot);
    }
}

TEST_F(Hands, PlayFromHand) {
    Give(1, {Card(kNine, kSpade), Card(kSeven, kSpade)});
    CPlayerHand* hand = g_pHand[1];
    EXPECT_EQ(hand->PlayFromHand(Card(kAce, kSpade), false), nullptr);
    EXPECT_EQ(hand->Count(), 2);
    CCard* card = hand->PlayFromHand(Card(kNine, kSpade), false);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(hand->Count(), 1);
    EXPECT_EQ(card->m_nX, hand->m_nPlayX);
    EXPECT_EQ(card->m_nY, hand->m_nPlayY);
    EXPECT_EQ(card->m_nDrawMode, 0);
    EXPECT_EQ(card->m_nRef, 2); // the deck and the caller
    card->Release();
}

TEST_F(Hands, TakeListedAndLoadCards) {
    uint8_t list[] = {1, 5, 32, 0};
    g_pHand[3]->TakeListed(g_pDeck, list);
    EXPECT_EQ(g_pHand[3]->Count(), 3);
    EXPECT_EQ(g_pDeck->m_nDealt, 3);
    EXPECT_EQ(g_pHand[3]->CardAt(0)->m_nCode, 3);
    EXPECT_EQ(g_pHand[3]->CardAt(2)->m_nCode, 24);
    // A slot already dealt is not handed out a second time.
    g_pHand[1]->TakeListed(g_pDeck, list);
    EXPECT_EQ(g_pHand[1]->Count(), 0);

    uint8_t stored[kPileSlots];
    std::memset(stored, 255, sizeof stored);
    stored[4] = Card(kJack, kDiamond) + 1;
    stored[9] = Card(kAce, kSpade) + 1;
    stored[10] = 5 + 1; // no such card in the deck
    g_pHand[0]->LoadCards(stored);
    EXPECT_EQ(g_pHand[0]->Count(), 2);
    EXPECT_EQ(g_pHand[0]->CardAt(4)->m_nCode, Card(kJack, kDiamond));
    EXPECT_EQ(g_pHand[0]->CardAt(9)->m_nCode, Card(kAce, kSpade));
    EXPECT_EQ(std::memcmp(g_pHand[0]->m_cardBytes, stored, 10), 0);
}

TEST_F(Hands, SendDealBroadcastsTheUserAndDistinctSlots) {
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
        int user = static_cast<uint8_t>(cmd.text[0]) - 1;
        ASSERT_GE(PlaceOfUser(user), 0);
        for (size_t i = 1; i < cmd.text.size(); ++i)
            EXPECT_TRUE(slots.insert(static_cast<uint8_t>(cmd.text[i])).second)
                << "a slot was promised to two hands";
    }
    EXPECT_EQ(slots.size(), 32u);
    // Applying the commands on every program gives each hand its full count.
    for (const auto& cmd : frame.commands) {
        int place = PlaceOfUser(static_cast<uint8_t>(cmd.text[0]) - 1);
        g_pHand[place]->TakeListed(g_pDeck, reinterpret_cast<const uint8_t*>(cmd.text.c_str()) + 1);
    }
    for (int place = 0; place < 4; ++place)
        EXPECT_EQ(g_pHand[place]->Count(), 8);
    EXPECT_EQ(g_pDeck->m_nDealt, 32);
}

TEST_F(Hands, ListSelectedRunsFromTheLastSlot) {
    Give(0, {Card(kAce, kHeart), Card(kSeven, kClub), Card(kKing, kHeart)});
    uint8_t out[kPileSlots + 1];
    g_pHand[0]->ListSelected(
        NaturalCardSet(Card(kAce, kHeart)) | NaturalCardSet(Card(kKing, kHeart)), out);
    EXPECT_EQ(out[0], Card(kKing, kHeart) + 1);
    EXPECT_EQ(out[1], Card(kAce, kHeart) + 1);
    EXPECT_EQ(out[2], 0);
}

TEST_F(Hands, LabelShowsTricksAndBlinksTheMarker) {
    RecordingView view;
    g_pView = &view;
    g_pHand[1]->DrawLabel(false, false);
    ASSERT_FALSE(view.texts.empty());
    EXPECT_EQ(view.texts.back(), "P1");
    EXPECT_EQ(g_pHand[1]->m_label[0], 14);

    g_contract.turn = 1;
    g_pHand[1]->DrawLabel(true, true);
    ASSERT_EQ(view.icons.size(), 1u);
    const int firstIcon = view.icons[0];
    EXPECT_TRUE(firstIcon == 192 || firstIcon == 193);
    EXPECT_EQ(g_nMarkerPlace, 1);
    g_pHand[1]->DrawLabel(true, true);
    ASSERT_EQ(view.icons.size(), 2u);
    EXPECT_EQ(view.icons[1], firstIcon == 192 ? 193 : 192);
    // A label without the marker elsewhere takes the marker away.
    g_pHand[2]->DrawLabel(false, false);
    EXPECT_EQ(g_nMarkerPlace, -1);
    // Computer players blink the other pair of pictures.
    g_pHand[1]->m_bComputer = 1;
    g_pHand[1]->DrawLabel(false, true);
    EXPECT_GE(view.icons.back(), 194);
    // Nothing while the score sheet covers the table.
    const size_t texts = view.texts.size();
    g_bOverlay = 1;
    g_pHand[1]->DrawLabel(false, true);
    EXPECT_EQ(view.texts.size(), texts);
}

TEST_F(Hands, WithoutAViewNothingIsDrawnButStateIsKept) {
    Give(0, {Card(kAce, kHeart)});
    g_pHand[0]->Redraw(true);
    g_pHand[0]->DrawLabel(true, true);
    EXPECT_EQ(g_pHand[0]->CardAt(0)->m_bDrawn, 0);
    EXPECT_EQ(g_pHand[0]->Count(), 1);
}

TEST_F(Hands, ClearResetsTheDeclarationState) {
    Give(0, {Card(kAce, kHeart)});
    CPlayerHand* hand = g_pHand[0];
    hand->m_bMayDeclare = 0;
    hand->m_nPoints = 40;
    hand->m_selSet = 1;
    hand->m_nSelCount = 1;
    hand->m_bWinsDecl = 1;
    hand->Clear();
    EXPECT_EQ(hand->Count(), 0);
    EXPECT_EQ(hand->m_bMayDeclare, 1);
    EXPECT_EQ(hand->m_nPoints, 0);
    EXPECT_EQ(hand->m_selSet, 0u);
    EXPECT_EQ(hand->m_nSelCount, 0);
    EXPECT_EQ(hand->m_bWinsDecl, 0);
}

TEST_F(Hands, ResetGameAndComputerFlags) {
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
    EXPECT_EQ(g_contract.declarer, -1);
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
    EXPECT_EQ(view.draws[0].mode, 1);
    EXPECT_EQ(view.draws[1].card, Card(kAce, kHeart));
    CCard* card = g_pHand[0]->CardAt(0);
    EXPECT_EQ(card->m_bDrawn, 1);
    card->MoveBy(0, -30);
    EXPECT_EQ(view.erases, 1) << "a drawn card is erased before it moves";
    EXPECT_EQ(card->m_bDrawn, 0);
    g_pHand[0]->Clear();
    EXPECT_EQ(view.erases, 1) << "an erased card is not erased again";
    g_pHand[1]->Clear();
    EXPECT_EQ(view.erases, 2) << "a pile letting a card go takes it off the table";
}

} // namespace
