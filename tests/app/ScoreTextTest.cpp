// The score sheet as text: deal lines, partnerships named by their seats, the totals.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "app/ScoreText.h"
#include "net/UsersList.h"
#include "rules/GameState.h"

namespace {

void Deal(int n, const char* r0, const char* r1, const char* value, int trump, int level, int p0,
          int p1, const char* declarer) {
    SetDealText(n, kDealResult0, kDealResultLen, r0);
    SetDealText(n, kDealResult1, kDealResultLen, r1);
    SetDealText(n, kDealValue, kDealValueLen, value);
    SetDealInt(n, kDealTrump, trump);
    SetDealInt(n, kDealDouble, level);
    SetDealInt(n, kDealPoints0, p0);
    SetDealInt(n, kDealPoints1, p1);
    SetDealText(n, kDealDeclarer, kDealNameLen, declarer);
}

// Users 0-3 hold seats 1-4; places turn from the own seat.
void Seat(int ownSeat) {
    std::memset(g_UsersList, 0, sizeof g_UsersList);
    const char* names[4] = {"Ann", "Bob", "Cid", "Dan"};
    for (int u = 0; u < 4; ++u) {
        std::strcpy(g_UsersList[u].name, names[u]);
        g_seatTable[u + 1] = static_cast<uint16_t>(u);
        g_placeTable[u] = static_cast<uint16_t>((ownSeat - 1 + u) % 4);
    }
}

} // namespace

TEST(ScoreText, DealLinesNamePartnershipsBySeatAndSurvivePlayersLeaving) {
    ResetGameStateForStart();
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

    ResetGameStateForStart();
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
    ForgetSeating();
    ResetGameStateForStart();
    std::memset(g_UsersList, 0, sizeof g_UsersList);
}
