// The score sheet as text: deal lines, partnerships named by their seats, the totals.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "app/ScoreText.h"
#include "net/UsersList.h"
#include "rules/GameState.h"

namespace {

class ScoreTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameStateForStart();
        std::memset(g_UsersList, 0, sizeof g_UsersList);
        Name(0, "Ann");
        Name(1, "Bob");
        Name(2, "Cid");
        Name(3, "Dan");
    }
    void TearDown() override {
        ForgetSeating();
        ResetGameStateForStart();
        std::memset(g_UsersList, 0, sizeof g_UsersList);
    }
    static void Name(int user, const char* name) {
        std::strncpy(g_UsersList[user].name, name, sizeof g_UsersList[0].name - 1);
    }
    // The own user sits at `ownSeat`; user u holds seat u + 1; places turn from the own seat.
    static void Seat(int ownSeat) {
        for (int seat = 1; seat <= 4; ++seat)
            g_seatTable[seat] = static_cast<uint16_t>(seat - 1);
        for (int place = 0; place < 4; ++place)
            g_placeTable[place] = static_cast<uint16_t>((ownSeat - 1 + place) % 4);
    }
    static void Deal(int n, const char* r0, const char* r1, const char* value, int trump, int level,
                     int p0, int p1, const char* declarer) {
        SetDealText(n, kDealResult0, kDealResultLen, r0);
        SetDealText(n, kDealResult1, kDealResultLen, r1);
        SetDealText(n, kDealValue, kDealValueLen, value);
        SetDealInt(n, kDealTrump, trump);
        SetDealInt(n, kDealDouble, level);
        SetDealInt(n, kDealPoints0, p0);
        SetDealInt(n, kDealPoints1, p1);
        SetDealText(n, kDealDeclarer, kDealNameLen, declarer);
    }
};

} // namespace

TEST_F(ScoreTextTest, DealLinesShowWhatEachDealGaveAndTheTotals) {
    Seat(1);
    EXPECT_EQ(ScoreSheetText(), "Total: 1 and 3: 0, 2 and 4: 0\n");
    Deal(0, "16", "#", "16", 2, 0, 20, 0, "Ann");
    Deal(1, "-", "200", "25", 4, 2, 0, 40, "Bob");
    g_nDeals = 2;
    g_score[0] = 16;
    g_score[1] = 200;
    EXPECT_EQ(ScoreSheetText(),
              "Deal 1: contract 16 hearts by Ann (seat 1) | hand points 1 and 3: 20, 2 and 4: 0 "
              "| result 1 and 3: 16 (16), 2 and 4: 0 (#)\n"
              "Deal 2: contract 25 no trump redoubled by Bob (seat 2) | hand points 1 and 3: 0, "
              "2 and 4: 40 | result 1 and 3: 0 (-), 2 and 4: 200 (200)\n"
              "Total: 1 and 3: 16, 2 and 4: 200\n");
}

TEST_F(ScoreTextTest, OddOwnSeatAndTheSeatsOfPlayersWhoLeft) {
    Seat(2); // places 0 and 2 are seats 2 and 4
    Deal(0, "30", "-", "12", 0, 1, 0, 0, "Dan");
    g_nDeals = 1;
    g_score[0] = 30;
    RememberSeating();
    const std::string during = ScoreSheetText();
    for (const char* part :
         {"contract 12 clubs doubled by Dan (seat 4)", "result 2 and 4: 30 (30), 1 and 3: 0 (-)",
          "Total: 2 and 4: 30, 1 and 3: 0"})
        EXPECT_NE(during.find(part), std::string::npos) << during;
    // Dan and Ann leave before the sheet is printed; a half-empty table is not kept.
    g_seatTable[4] = g_seatTable[1] = kNoUser;
    g_placeTable[2] = g_placeTable[3] = kNoUser;
    std::memset(&g_UsersList[3], 0, sizeof g_UsersList[3]);
    RememberSeating();
    EXPECT_EQ(ScoreSheetText(), during);
}
