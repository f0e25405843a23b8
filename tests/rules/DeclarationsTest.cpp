// Declarations: combinations, values, rank codes and texts; picking and showing;
// the partnership comparison; the trump king-and-queen bonus.
#include <gtest/gtest.h>

#include "rules/Declarations.h"
#include "tests/rules/RulesFixture.h"

namespace {

uint32_t Set(std::initializer_list<int> codes) {
    uint32_t set = 0;
    for (int code : codes)
        set |= NaturalCardSet(code);
    return set;
}

uint32_t FourOf(int rank) {
    return Set({Card(rank, 0), Card(rank, 1), Card(rank, 2), Card(rank, 3)});
}

TEST(FindDeclarationsTest, FourJacks) {
    DeclarationResult r = FindDeclarations(FourOf(kJack), kHeart);
    EXPECT_EQ(r.points, 200);
    EXPECT_EQ(r.bestRank, 42);
    EXPECT_EQ(r.text, "--> 4*X <--");
    r = FindDeclarations(FourOf(kJack), kNoTrump);
    EXPECT_EQ(r.points, 100);
    EXPECT_EQ(r.bestRank, 32);
}

TEST(FindDeclarationsTest, FourOfEachRank) {
    struct Row {
        int rank, suitPoints, ntPoints, suitCode, ntCode;
    } rows[] = {{kJack, 200, 100, 42, 32}, {kNine, 150, 100, 41, 31}, {kAce, 100, 200, 40, 36},
                {kTen, 100, 100, 39, 35},  {kKing, 100, 100, 38, 34}, {kQueen, 100, 100, 37, 33}};
    for (const Row& row : rows) {
        DeclarationResult s = FindDeclarations(FourOf(row.rank), kClub);
        DeclarationResult n = FindDeclarations(FourOf(row.rank), kNoTrump);
        EXPECT_EQ(s.points, row.suitPoints) << row.rank;
        EXPECT_EQ(n.points, row.ntPoints) << row.rank;
        EXPECT_EQ(s.bestRank, row.suitCode) << row.rank;
        EXPECT_EQ(n.bestRank, row.ntCode) << row.rank;
        EXPECT_EQ(s.rest, 0u);
    }
    for (int rank : {kSeven, kEight}) {
        DeclarationResult r = FindDeclarations(FourOf(rank), kClub);
        EXPECT_EQ(r.points, 0);
        EXPECT_EQ(r.bestRank, 0);
        EXPECT_EQ(r.text, "--> "
                          " <--");
    }
}

TEST(FindDeclarationsTest, WholeSuitIsOneHundred) {
    DeclarationResult r = FindDeclarations(0x00FF0000u, kHeart);
    EXPECT_EQ(r.points, 120);
    EXPECT_EQ(r.text, "--> 100 <--");
    EXPECT_EQ(r.bestRank, 30);
    EXPECT_EQ(FindDeclarations(0x00FF0000u, kClub).bestRank, 29);
}

TEST(FindDeclarationsTest, FourOfAKindIsTakenBeforeSequences) {
    uint32_t cards =
        Set({Card(kNine, kHeart), Card(kTen, kHeart), Card(kJack, kHeart), Card(kQueen, kHeart)}) |
        FourOf(kKing);
    DeclarationResult r = FindDeclarations(cards, kSpade);
    EXPECT_EQ(r.text, "--> 4*X + 50 <--");
    EXPECT_EQ(r.points, 150);
    EXPECT_EQ(r.bestRank, 38);
}

TEST(FindDeclarationsTest, TwoTerzes) {
    uint32_t cards = Set({Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub),
                          Card(kQueen, kDiamond), Card(kKing, kDiamond), Card(kAce, kDiamond)});
    DeclarationResult r = FindDeclarations(cards, kHeart);
    EXPECT_EQ(r.text, "--> Terz + Terz <--");
    EXPECT_EQ(r.points, 40);
    EXPECT_EQ(r.bestRank, 12 - 0 - 1); // Q K A off trump
}

TEST(FindDeclarationsTest, RankCodesOrderTheClasses) {
    auto rank = [](std::initializer_list<int> codes, int trump) {
        return FindDeclarations(Set(codes), trump).bestRank;
    };
    // Sequence of five up to the king in trumps: 30 - 2 - 0.
    EXPECT_EQ(rank({Card(kNine, 2), Card(kTen, 2), Card(kJack, 2), Card(kQueen, 2), Card(kKing, 2)},
                   kHeart),
              28);
    // Sequence of four up to the ace off trump: 22 - 0 - 1.
    EXPECT_EQ(rank({Card(kJack, 0), Card(kQueen, 0), Card(kKing, 0), Card(kAce, 0)}, kHeart), 21);
    // Same top card, the trump suit wins.
    EXPECT_GT(rank({Card(kJack, 2), Card(kQueen, 2), Card(kKing, 2)}, kHeart),
              rank({Card(kJack, 0), Card(kQueen, 0), Card(kKing, 0)}, kHeart));
    // Lowest terz: 7 8 9 off trump.
    EXPECT_EQ(rank({Card(kSeven, 0), Card(kEight, 0), Card(kNine, 0)}, kHeart), 1);
}

using Declaring = RulesTable;

TEST_F(Declaring, ComputeIncludesFinishedTricksOnly) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub), Card(kAce, kSpade)});
    Give(1, {Card(kTen, kClub), Card(kSeven, kSpade)});
    Give(2, {Card(kJack, kClub)});
    Give(3, {Card(kQueen, kClub)});
    uint32_t inHand = g_pHand[0]->ComputeDeclaration(kHeart);
    EXPECT_EQ(inHand, Set({Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub)}));
    EXPECT_EQ(g_pHand[0]->m_nDeclPoints, 20);
    EXPECT_EQ(g_pHand[0]->m_declText, "--> Terz <--");

    // The seven of clubs on the trick under way counts nowhere.
    g_pTable->PlayCard(0, Card(kSeven, kClub));
    g_pHand[0]->ComputeDeclaration(kHeart);
    EXPECT_EQ(g_pHand[0]->m_nDeclPoints, 0);
    // Once the trick is finished it counts as played.
    PlayTrick(1, {Card(kTen, kClub), Card(kJack, kClub), Card(kQueen, kClub)});
    EXPECT_EQ(g_pHand[0]->ComputeDeclaration(kHeart),
              Set({Card(kEight, kClub), Card(kNine, kClub)}));
    EXPECT_EQ(g_pHand[0]->m_nDeclPoints, 20);
}

TEST_F(Declaring, SelectionValue) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub), Card(kAce, kSpade)});
    CPlayerHand* hand = g_pHand[0];
    EXPECT_EQ(hand->SelectionValue(), 0);
    hand->ToggleShowCode(Card(kAce, kSpade), false);
    EXPECT_EQ(hand->m_nSelCount, 1);
    EXPECT_EQ(hand->SelectionValue(), 0) << "one card of no combination";
    hand->ToggleShowCode(Card(kAce, kSpade), false);
    EXPECT_EQ(hand->m_nSelCount, 0);
    EXPECT_EQ(hand->m_selSet, 0u);
    for (int code : {Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub)})
        hand->ToggleShowCode(code, false);
    EXPECT_EQ(hand->SelectionValue(), 1);
    EXPECT_EQ(hand->m_nDeclPoints, 20);
    hand->ToggleShowCode(Card(kJack, kDiamond), false); // not held: nothing
    EXPECT_EQ(hand->m_nSelCount, 3);
}

TEST_F(Declaring, PickingMovesCardsTowardsTheCentre) {
    Give(0, {Card(kSeven, kClub)});
    Give(1, {Card(kSeven, kDiamond)});
    Give(2, {Card(kSeven, kHeart)});
    Give(3, {Card(kSeven, kSpade)});
    const int dx[4] = {0, 40, 0, -40}, dy[4] = {-30, 0, 30, 0};
    for (int place = 0; place < 4; ++place) {
        CCard* card = g_pHand[place]->CardAt(0);
        int x = card->m_nX, y = card->m_nY;
        g_pHand[place]->ToggleShowCard(0, 0, false);
        EXPECT_EQ(card->m_nX - x, dx[place]) << place;
        EXPECT_EQ(card->m_nY - y, dy[place]) << place;
        EXPECT_TRUE(g_pHand[place]->IsPicked(0));
        g_pHand[place]->ToggleShowCard(0, 0, false);
        EXPECT_EQ(card->m_nX, x);
        EXPECT_EQ(card->m_nY, y);
    }
}

TEST_F(Declaring, ShowAndCancel) {
    SetContract(8, kHeart, 1);
    Give(1, {Card(kQueen, kSpade), Card(kKing, kSpade), Card(kAce, kSpade), Card(kSeven, kClub)});
    CPlayerHand* hand = g_pHand[1];
    for (int code : {Card(kQueen, kSpade), Card(kKing, kSpade), Card(kAce, kSpade)})
        hand->ToggleShowCode(code, false);
    hand->ShowDeclaration();
    EXPECT_EQ(hand->m_bMayDeclare, 0);
    EXPECT_EQ(hand->m_nPoints, 20);
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(hand->CardAt(slot)->m_nDrawMode, 0) << "shown cards lie face up";
        EXPECT_TRUE(hand->IsPicked(slot));
    }
    EXPECT_EQ(hand->CardAt(3)->m_nDrawMode, 1);
    hand->CancelShow();
    EXPECT_EQ(hand->m_nSelCount, 0);
    EXPECT_EQ(hand->m_selSet, 0u);
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_FALSE(hand->IsPicked(slot));
        EXPECT_EQ(hand->CardAt(slot)->m_nDrawMode, 1) << "back to the hand's face mode";
    }
    EXPECT_EQ(hand->m_nPoints, 20);
}

TEST_F(Declaring, PartnershipComparison) {
    auto set = [](int place, int announced, int value, int shown) {
        g_declare[place].announced = announced;
        g_declare[place].value = value;
        g_declare[place].shown = shown;
    };
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0) << "not announced";
    set(0, 1, 12, 0);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 1) << "nobody else announced";
    set(1, 1, 20, 0);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0);
    EXPECT_EQ(PartnershipWinsDeclarations(1), 1);
    set(2, 1, 21, 0); // the partner's better code counts for place 0
    EXPECT_EQ(PartnershipWinsDeclarations(0), 1);
    EXPECT_EQ(PartnershipWinsDeclarations(1), 0);
    // Equal codes: while neither side has shown both win; a shown opponent wins.
    set(1, 1, 21, 0);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 1);
    EXPECT_EQ(PartnershipWinsDeclarations(1), 1);
    set(1, 1, 21, 1);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0);
    set(3, 1, 21, 1);
    EXPECT_EQ(PartnershipWinsDeclarations(2), 0) << "previous opponent equal and shown";
    EXPECT_EQ(PartnershipWinsDeclarations(7), 0);
}

TEST_F(Declaring, CanShowNowNeedsAFinishedTrick) {
    SetContract(8, kHeart, 0);
    g_declare[0].announced = 1;
    g_declare[0].value = 5;
    Give(0, {Card(kSeven, kClub), Card(kEight, kClub)});
    Give(1, {Card(kNine, kClub)});
    Give(2, {Card(kTen, kClub)});
    Give(3, {Card(kJack, kClub)});
    EXPECT_EQ(g_pHand[0]->CanShowNow(), 0);
    EXPECT_EQ(g_pHand[0]->m_bWinsDecl, 1);
    PlayTrick(0, {Card(kSeven, kClub), Card(kNine, kClub), Card(kTen, kClub), Card(kJack, kClub)});
    EXPECT_EQ(g_pHand[0]->CanShowNow(), 1);
    g_pHand[0]->m_bMayDeclare = 0;
    EXPECT_EQ(g_pHand[0]->CanShowNow(), 0);
}

TEST_F(Declaring, EvaluateFillsTheTable) {
    Give(0, {Card(kJack, 0), Card(kJack, 1), Card(kJack, 2), Card(kJack, 3)});
    Give(1, {Card(kSeven, kClub)});
    g_declare[0].announced = 1;
    EvaluateDeclarations(); // no contract yet: only cleared
    EXPECT_EQ(g_declare[0].announced, 0);
    EXPECT_EQ(g_declare[0].value, 0);
    SetContract(8, kHeart, 0);
    EvaluateDeclarations();
    EXPECT_EQ(g_declare[0].value, 42);
    EXPECT_STREQ(g_declare[0].text, "--> 4*X <--");
    EXPECT_EQ(g_declare[1].value, 0);
    EXPECT_STREQ(g_declare[1].text, "");
}

TEST_F(Declaring, TrumpKingAndQueenBonus) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kQueen, kHeart), Card(kKing, kHeart), Card(kQueen, kSpade), Card(kKing, kSpade)});
    Give(1, {Card(kSeven, kHeart), Card(kEight, kHeart)});
    Give(2, {Card(kNine, kSpade), Card(kTen, kHeart)});
    Give(3, {Card(kSeven, kSpade), Card(kEight, kSpade)});
    RecordingView view;
    RecordingFrame frame;
    g_pView = &view;
    g_pMainFrame = &frame;
    g_pTable->PlayCard(0, Card(kQueen, kHeart));
    EXPECT_EQ(g_pHand[0]->m_nPoints, 20);
    EXPECT_EQ(g_pTable->CardAt(0)->m_bMarked, 1);
    g_pTable->Redraw(false);
    EXPECT_EQ(view.icons.back(), kIconMarker);
    EXPECT_EQ(frame.beeps.size(), 1u) << "the marker beeps once when first drawn";
    g_pTable->Redraw(false);
    EXPECT_EQ(frame.beeps.size(), 1u);
    PlayTrick(1, {Card(kSeven, kHeart), Card(kTen, kHeart), Card(kSeven, kSpade)});
    // Winner place 2 leads; place 0 then plays the king: nothing more.
    g_pTable->PlayCard(2, Card(kNine, kSpade));
    g_pTable->PlayCard(3, Card(kEight, kSpade));
    g_pTable->PlayCard(0, Card(kKing, kHeart));
    EXPECT_EQ(g_pHand[0]->m_nPoints, 20);
    // The king and queen of a suit that is not trumps earn nothing.
    EXPECT_FALSE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kHeart));
    EXPECT_FALSE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kNoTrump));
    EXPECT_TRUE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kSpade));
}

} // namespace
