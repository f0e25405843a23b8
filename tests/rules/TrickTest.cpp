// Winning tricks, the trick table and turn, the queries on finished tricks, and
// rebuilding the table pile from its stored record.
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

TEST_F(Tricks, WithoutTrumpsTheLedSuitWins) {
    SetContract(8, kNoTrump, 0);
    Give(0, {Card(kSeven, kHeart)});
    Give(1, {Card(kJack, kClub)});
    Give(2, {Card(kEight, kHeart)});
    Give(3, {Card(kAce, kSpade)});
    PlayTrick(0,
              {Card(kSeven, kHeart), Card(kJack, kClub), Card(kEight, kHeart), Card(kAce, kSpade)});
    EXPECT_EQ(g_pTable->m_tricks[0].winner, 2);
    EXPECT_EQ(g_pTable->m_tricks[0].winCard, Card(kEight, kHeart));
}

TEST_F(Tricks, TurnAndTrickTableFollowThePlay) {
    RecordingView view;
    g_pView = &view;
    SetContract(8, kClub, 3);
    Give(0, {Card(kSeven, kDiamond), Card(kAce, kSpade)});
    Give(1, {Card(kAce, kDiamond), Card(kKing, kSpade)});
    Give(2, {Card(kSeven, kClub), Card(kTen, kSpade)});
    Give(3, {Card(kNine, kDiamond), Card(kSeven, kSpade)});
    g_pTable->PlayCard(0, Card(kSeven, kDiamond));
    EXPECT_EQ(g_contract.turn, 1);
    EXPECT_EQ(g_pTable->m_tricks[0].leader, 0);
    EXPECT_EQ(g_pTable->m_playedBy[0], 1) << "played-by bytes hold seats";
    g_pTable->PlayCard(1, Card(kAce, kDiamond));
    g_pTable->PlayCard(2, Card(kSeven, kClub));
    EXPECT_EQ(g_pTable->m_tricks[0].winner, 2);
    EXPECT_EQ(g_pTable->TricksWonBy(2), 0) << "only complete tricks count";
    EXPECT_EQ(view.gathers, 0);
    g_pTable->PlayCard(3, Card(kNine, kDiamond));
    EXPECT_EQ(g_contract.turn, 2);
    EXPECT_EQ(g_pTable->m_nCurTrick, 1);
    EXPECT_EQ(g_pTable->TricksWonBy(2), 1);
    EXPECT_EQ(view.gathers, 1);
    EXPECT_EQ(view.gatheredTrick, 0) << "gathered before the trick advances";

    int last[4];
    ASSERT_TRUE(g_pTable->LastTrickCards(last));
    EXPECT_EQ(last[0], Card(kSeven, kDiamond));
    EXPECT_EQ(last[2], Card(kSeven, kClub));
    EXPECT_EQ(last[3], Card(kNine, kDiamond));
    EXPECT_EQ(g_pTable->CardsPlayedBy(1), NaturalCardSet(Card(kAce, kDiamond)));

    // The trick under way is not counted as played.
    g_pTable->PlayCard(2, Card(kTen, kSpade));
    EXPECT_EQ(g_pTable->CardsPlayedBy(2), NaturalCardSet(Card(kSeven, kClub)));
    EXPECT_EQ(g_contract.turn, 3);
}

TEST_F(Tricks, CardsNotInTheHandAreNotPlayed) {
    Give(0, {Card(kSeven, kDiamond)});
    g_pTable->PlayCard(0, Card(kAce, kDiamond));
    g_pTable->PlayCard(5, Card(kSeven, kDiamond));
    EXPECT_EQ(g_pTable->Count(), 0);
    EXPECT_EQ(g_pHand[0]->Count(), 1);
    int last[4];
    EXPECT_FALSE(g_pTable->LastTrickCards(last));
    EXPECT_EQ(last[0], -1);
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
    EXPECT_EQ(record[52], 0);
    EXPECT_EQ(record[105], 0);

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
    EXPECT_EQ(copy.TricksWonBy(2), 1);
}

TEST_F(Tricks, RebuildSkipsBytesOutsideTheDeck) {
    SetContract(9, kSpade, 1);
    uint8_t record[kTableRecordSize];
    std::memset(record, 255, sizeof record);
    record[52] = record[105] = 0;
    const uint8_t seats[4] = {1, 2, 3, 4}; // places 0..3
    record[0] = Card(kSeven, kClub) + 1, record[53] = seats[0];
    record[1] = 10 + 1, record[54] = seats[1];                  // a three: not in the deck
    record[2] = 0, record[55] = seats[1];                       // no card at all
    record[3] = Card(kSeven, kClub) + 1, record[56] = seats[1]; // the same card again
    record[4] = Card(kEight, kClub) + 1, record[57] = 9;        // nobody's seat
    record[5] = Card(kAce, kClub) + 1, record[58] = seats[1];
    g_pTable->RebuildFromRecord(record);
    EXPECT_EQ(g_pTable->Count(), 2);
    EXPECT_EQ(g_pTable->m_tricks[0].count, 2);
    EXPECT_EQ(g_pTable->m_tricks[0].winner, 1);
    EXPECT_EQ(g_contract.turn, 2);
}

TEST_F(Tricks, ShowCurrentTrickLaysCardsAtTheirPlayers) {
    RecordingView view;
    g_pView = &view;
    SetContract(8, kHeart, 0);
    Give(3, {Card(kQueen, kHeart), Card(kKing, kHeart)});
    Give(0, {Card(kSeven, kHeart)});
    PlayTrick(3, {Card(kQueen, kHeart), Card(kSeven, kHeart)});
    EXPECT_EQ(g_pHand[3]->m_nPoints, 20);
    uint8_t record[kTableRecordSize];
    g_pTable->WriteRecord(record);
    g_pTable->RebuildFromRecord(record);
    g_pTable->ShowCurrentTrick();
    CCard* queen = g_pTable->CardAt(0);
    CCard* seven = g_pTable->CardAt(1);
    EXPECT_EQ(queen->m_nX, g_pHand[3]->m_nPlayX);
    EXPECT_EQ(seven->m_nY, g_pHand[0]->m_nPlayY);
    EXPECT_EQ(queen->m_bMarked, 1) << "the king is still in the hand";
    EXPECT_EQ(seven->m_bMarked, 0);
    EXPECT_EQ(queen->m_bDrawn, 1);
}

} // namespace
