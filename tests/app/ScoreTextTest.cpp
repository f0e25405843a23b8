// The score sheet as text: deal lines, partnerships named by their seats, the totals.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "app/ScoreText.h"
#include "net/UsersList.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

namespace {

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
    Seat(2); // places 0 and 2 are seats 2 and 4
    SetDealText(0, kDealResult0, kDealResultLen, "30");
    SetDealText(0, kDealResult1, kDealResultLen, "-");
    SetDealText(0, kDealValue, kDealValueLen, "12");
    SetDealInt(0, kDealTrump, kClub);
    SetDealInt(0, kDealDouble, 1);
    SetDealText(0, kDealDeclarer, kDealNameLen, "Dan");
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
