// Winning tricks, the turn, the queries on finished tricks, and rebuilding the
// table pile from its stored record.
#include <gtest/gtest.h>

#include "tests/rules/RulesFixture.h"

namespace {

using Tricks = RulesTable;

TEST_F(Tricks, WhoBeatsWhom) {
    SetContract(8, kHeart, 0);
    Give(0, {Card(kKing, kSpade), Card(kAce, kHeart)});
    Give(1, {Card(kTen, kSpade), Card(kAce, kClub), Card(kNine, kHeart), Card(kSeven, kHeart)});
    PlayTrick(0, {Card(kKing, kSpade)});
    EXPECT_EQ(g_pTable->BeatsWinner(Card(kTen, kSpade)), 1) << "ten over king in plain order";
    EXPECT_EQ(g_pTable->BeatsWinner(Card(kAce, kClub)), 0) << "a discard never wins";
    EXPECT_EQ(g_pTable->BeatsWinner(Card(kSeven, kHeart)), 1) << "any trump wins a plain trick";
    g_pTable->ResetTricks();
    PlayTrick(0, {Card(kAce, kHeart)});
    EXPECT_EQ(g_pTable->BeatsWinner(Card(kNine, kHeart)), 1) << "nine over ace in trump order";
    EXPECT_EQ(g_pTable->BeatsWinner(Card(kSeven, kHeart)), 0);
    EXPECT_EQ(g_pTable->BeatsWinner(Card(kTen, kSpade)), 0);
}

TEST_F(Tricks, TurnAndTrickTableFollowThePlay) {
    RecordingView view;
    g_pView = &view;
    SetContract(8, kClub, 3);
    Give(0, {Card(kSeven, kDiamond), Card(kAce, kSpade)});
    Give(1, {Card(kAce, kDiamond), Card(kKing, kSpade)});
    Give(2, {Card(kSeven, kClub), Card(kTen, kSpade)});
    Give(3, {Card(kNine, kDiamond), Card(kSeven, kSpade)});
    g_pTable->PlayCard(0, Card(kAce, kDiamond));   // not in the hand: ignored
    g_pTable->PlayCard(5, Card(kSeven, kDiamond)); // no such place: ignored
    EXPECT_EQ(g_pTable->Count(), 0);
    g_pTable->PlayCard(0, Card(kSeven, kDiamond));
    EXPECT_EQ(g_contract.turn, 1);
    EXPECT_EQ(g_pTable->m_playedBy[0], 1) << "played-by bytes hold seats";
    g_pTable->PlayCard(1, Card(kAce, kDiamond));
    g_pTable->PlayCard(2, Card(kSeven, kClub));
    EXPECT_EQ(g_pTable->m_tricks[0].winner, 2);
    EXPECT_EQ(g_pTable->TricksWonBy(2), 0) << "only complete tricks count";
    EXPECT_EQ(view.gathers, 0);
    g_pTable->PlayCard(3, Card(kNine, kDiamond));
    EXPECT_EQ(g_contract.turn, 2);
    EXPECT_EQ(g_pTable->TricksWonBy(2), 1);
    EXPECT_EQ(view.gathers, 1);
    EXPECT_EQ(view.gatheredTrick, 0) << "gathered before the trick advances";
    int last[4];
    ASSERT_TRUE(g_pTable->LastTrickCards(last));
    EXPECT_EQ(last[3], Card(kNine, kDiamond));
    g_pTable->PlayCard(2, Card(kTen, kSpade));
    EXPECT_EQ(g_pTable->CardsPlayedBy(2), NaturalCardSet(Card(kSeven, kClub)))
        << "the trick under way is not counted as played";
}

TEST_F(Tricks, RebuildFromRecordRestoresTricksAndTurn) {
    SetContract(9, kSpade, 1);
    Give(0, {Card(kAce, kHeart), Card(kTen, kHeart)});
    Give(1, {Card(kSeven, kHeart), Card(kEight, kHeart)});
    Give(2, {Card(kNine, kSpade), Card(kNine, kHeart)});
    Give(3, {Card(kKing, kHeart), Card(kQueen, kHeart)});
    PlayTrick(
        1, {Card(kSeven, kHeart), Card(kNine, kSpade), Card(kQueen, kHeart), Card(kAce, kHeart)});
    PlayTrick(2, {Card(kNine, kHeart), Card(kKing, kHeart)});
    const int turn = g_contract.turn;
    uint8_t record[kTableRecordSize];
    g_pTable->WriteRecord(record);
    CTrickPile copy(4, 8);
    g_contract.turn = -1;
    copy.RebuildFromRecord(record);
    EXPECT_EQ(copy.Count(), 6);
    EXPECT_EQ(copy.m_nCurTrick, 1);
    EXPECT_EQ(copy.m_tricks[0].winner, 2);
    EXPECT_EQ(copy.m_tricks[1].leader, 2);
    EXPECT_EQ(copy.m_tricks[1].count, 2);
    EXPECT_EQ(g_contract.turn, turn);
    EXPECT_EQ(std::memcmp(copy.m_cardBytes, g_pTable->m_cardBytes, 53), 0);
    EXPECT_EQ(std::memcmp(copy.m_playedBy, g_pTable->m_playedBy, 53), 0);
}

TEST_F(Tricks, RebuildSkipsBytesOutsideTheDeck) {
    SetContract(9, kSpade, 1);
    uint8_t record[kTableRecordSize];
    std::memset(record, 255, sizeof record);
    record[52] = record[105] = 0;
    record[0] = Card(kSeven, kClub) + 1, record[53] = 1;
    record[1] = 10 + 1, record[54] = 2;                  // a three: not in the deck
    record[2] = 0, record[55] = 2;                       // no card at all
    record[3] = Card(kSeven, kClub) + 1, record[56] = 2; // the same card again
    record[4] = Card(kEight, kClub) + 1, record[57] = 9; // nobody's seat
    record[5] = Card(kAce, kClub) + 1, record[58] = 2;
    g_pTable->RebuildFromRecord(record);
    EXPECT_EQ(g_pTable->Count(), 2);
    EXPECT_EQ(g_pTable->m_tricks[0].winner, 1);
    EXPECT_EQ(g_contract.turn, 2);
}

} // namespace
