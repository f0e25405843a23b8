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

TEST(FindDeclarationsTest, ValuesRanksAndTexts) {
    struct Row {
        uint32_t cards;
        int trump, points, rank; // points -1: not checked
        const char* text;        // nullptr: not checked
    };
    const Row rows[] = {
        {FourOf(kJack), kHeart, 200, 42, "--> 4*X <--"},
        {FourOf(kJack), kNoTrump, 100, 32, nullptr},
        {FourOf(kNine), kClub, 150, 41, nullptr},
        {FourOf(kNine), kNoTrump, 100, 31, nullptr},
        {FourOf(kAce), kClub, 100, 40, nullptr},
        {FourOf(kAce), kNoTrump, 200, 36, nullptr},
        {FourOf(kTen), kClub, 100, 39, nullptr},
        {FourOf(kKing), kNoTrump, 100, 34, nullptr},
        {FourOf(kQueen), kClub, 100, 37, nullptr},
        {FourOf(kEight), kClub, 0, 0, "-->  <--"},
        {0x00FF0000u, kHeart, 120, 30, "--> 100 <--"}, // the whole suit, trumps
        {0x00FF0000u, kClub, 120, 29, nullptr},
        // Four of a kind is taken before sequences.
        {Set({Card(kNine, kHeart), Card(kTen, kHeart), Card(kJack, kHeart), Card(kQueen, kHeart)}) |
             FourOf(kKing),
         kSpade, 150, 38, "--> 4*X + 50 <--"},
        {Set({Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub), Card(kQueen, kDiamond),
              Card(kKing, kDiamond), Card(kAce, kDiamond)}),
         kHeart, 40, 11, "--> Terz + Terz <--"},
        // Sequence of five up to the king in trumps; of four up to the ace off trump.
        {Set({Card(kNine, 2), Card(kTen, 2), Card(kJack, 2), Card(kQueen, 2), Card(kKing, 2)}),
         kHeart, -1, 28, nullptr},
        {Set({Card(kJack, 0), Card(kQueen, 0), Card(kKing, 0), Card(kAce, 0)}), kHeart, 50, 21,
         nullptr},
        {Set({Card(kSeven, 0), Card(kEight, 0), Card(kNine, 0)}), kHeart, 20, 1, "--> Terz <--"},
    };
    for (const Row& row : rows) {
        const DeclarationResult r = FindDeclarations(row.cards, row.trump);
        const std::string what = std::to_string(row.cards) + " trump " + std::to_string(row.trump);
        EXPECT_TRUE(row.points < 0 || r.points == row.points) << what << ": " << r.points;
        EXPECT_EQ(r.bestRank, row.rank) << what;
        EXPECT_TRUE(!row.text || r.text == row.text) << what << ": " << r.text;
    }
    // Same top card: the trump suit ranks higher.
    EXPECT_GT(
        FindDeclarations(Set({Card(kJack, 2), Card(kQueen, 2), Card(kKing, 2)}), kHeart).bestRank,
        FindDeclarations(Set({Card(kJack, 0), Card(kQueen, 0), Card(kKing, 0)}), kHeart).bestRank);
}

using Declaring = RulesTable;

TEST_F(Declaring, ComputeIncludesFinishedTricksOnly) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub), Card(kAce, kSpade)});
    Give(1, {Card(kTen, kClub)});
    Give(2, {Card(kJack, kClub)});
    Give(3, {Card(kQueen, kClub)});
    EXPECT_EQ(g_pHand[0]->ComputeDeclaration(kHeart),
              Set({Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub)}));
    EXPECT_EQ(g_pHand[0]->m_nDeclPoints, 20);
    g_pTable->PlayCard(0, Card(kSeven, kClub));
    g_pHand[0]->ComputeDeclaration(kHeart);
    EXPECT_EQ(g_pHand[0]->m_nDeclPoints, 0) << "a card on the trick under way counts nowhere";
    PlayTrick(1, {Card(kTen, kClub), Card(kJack, kClub), Card(kQueen, kClub)});
    EXPECT_EQ(g_pHand[0]->ComputeDeclaration(kHeart),
              Set({Card(kEight, kClub), Card(kNine, kClub)}));
    EXPECT_EQ(g_pHand[0]->m_nDeclPoints, 20) << "a finished trick counts as played";
}

TEST_F(Declaring, SelectShowAndCancel) {
    SetContract(8, kHeart, 1);
    Give(1, {Card(kQueen, kSpade), Card(kKing, kSpade), Card(kAce, kSpade), Card(kSeven, kClub)});
    CPlayerHand* hand = g_pHand[1];
    hand->ToggleShowCode(Card(kSeven, kClub), false);
    EXPECT_EQ(hand->SelectionValue(), 0) << "one card of no combination";
    hand->ToggleShowCode(Card(kSeven, kClub), false);
    EXPECT_EQ(hand->m_nSelCount, 0);
    for (int code : {Card(kQueen, kSpade), Card(kKing, kSpade), Card(kAce, kSpade)})
        hand->ToggleShowCode(code, false);
    hand->ToggleShowCode(Card(kJack, kDiamond), false); // not held: nothing
    EXPECT_EQ(hand->m_nSelCount, 3);
    EXPECT_EQ(hand->SelectionValue(), 1);
    hand->ShowDeclaration();
    EXPECT_EQ(hand->m_bMayDeclare, 0);
    EXPECT_EQ(hand->m_nPoints, 20);
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(hand->CardAt(slot)->m_nDrawMode, slot < 3 ? 0 : 1) << "shown cards lie face up";
        EXPECT_EQ(hand->IsPicked(slot), slot < 3);
    }
    hand->CancelShow();
    EXPECT_EQ(hand->m_selSet, 0u);
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_FALSE(hand->IsPicked(slot));
        EXPECT_EQ(hand->CardAt(slot)->m_nDrawMode, 1) << "back to the hand's face mode";
    }
    EXPECT_EQ(hand->m_nPoints, 20);
}

TEST_F(Declaring, PartnershipComparison) {
    auto set = [](int place, int value, int shown) {
        g_declare[place].announced = 1;
        g_declare[place].value = value;
        g_declare[place].shown = shown;
    };
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0) << "not announced";
    set(0, 12, 0);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 1) << "nobody else announced";
    set(1, 20, 0);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0);
    EXPECT_EQ(PartnershipWinsDeclarations(1), 1);
    set(2, 21, 0); // the partner's better code counts for place 0
    EXPECT_EQ(PartnershipWinsDeclarations(0), 1);
    EXPECT_EQ(PartnershipWinsDeclarations(1), 0);
    // Equal codes: while neither side has shown both win; a shown opponent wins.
    set(1, 21, 0);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 1);
    EXPECT_EQ(PartnershipWinsDeclarations(1), 1);
    set(1, 21, 1);
    EXPECT_EQ(PartnershipWinsDeclarations(0), 0);
    EXPECT_EQ(PartnershipWinsDeclarations(7), 0);
}

TEST_F(Declaring, EvaluateAndCanShowNow) {
    Give(0, {Card(kJack, 0), Card(kJack, 1), Card(kJack, 2), Card(kJack, 3)});
    Give(1, {Card(kSeven, kClub)});
    Give(2, {Card(kEight, kClub)});
    Give(3, {Card(kNine, kClub)});
    g_declare[0].announced = 1;
    EvaluateDeclarations(); // no contract yet: only cleared
    EXPECT_EQ(g_declare[0].announced, 0);
    EXPECT_EQ(g_declare[0].value, 0);
    SetContract(8, kHeart, 0);
    EvaluateDeclarations();
    EXPECT_EQ(g_declare[0].value, 42);
    EXPECT_STREQ(g_declare[0].text, "--> 4*X <--");
    EXPECT_EQ(g_declare[1].value, 0);
    g_declare[0].announced = 1;
    EXPECT_EQ(g_pHand[0]->CanShowNow(), 0) << "needs a finished trick";
    EXPECT_EQ(g_pHand[0]->m_bWinsDecl, 1);
    PlayTrick(0, {Card(kJack, 0), Card(kSeven, kClub), Card(kEight, kClub), Card(kNine, kClub)});
    EXPECT_EQ(g_pHand[0]->CanShowNow(), 1);
    g_pHand[0]->m_bMayDeclare = 0;
    EXPECT_EQ(g_pHand[0]->CanShowNow(), 0);
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
    g_pTable->Redraw(false);
    EXPECT_EQ(view.icons.back(), kIconMarker);
    EXPECT_EQ(frame.beeps.size(), 1u) << "the marker beeps once when first drawn";
    PlayTrick(1, {Card(kSeven, kHeart), Card(kTen, kHeart), Card(kSeven, kSpade)});
    g_pTable->PlayCard(2, Card(kNine, kSpade));
    g_pTable->PlayCard(3, Card(kEight, kSpade));
    g_pTable->PlayCard(0, Card(kKing, kHeart));
    EXPECT_EQ(g_pHand[0]->m_nPoints, 20) << "the second card of the pair earns nothing more";
    EXPECT_FALSE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kHeart));
    EXPECT_FALSE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kNoTrump));
    EXPECT_TRUE(EarnsTrumpPairBonus(*g_pHand[0], Card(kQueen, kSpade), kSpade));
}

} // namespace
