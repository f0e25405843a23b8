// A player's or the dealer's program killed in the middle of a game: another
// takes the seat, and the game that the others kept resumes where it stopped.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace {

const e2e::Ms kEventLimit(60000);
const e2e::Ms kGameLimit(300000);
// Killed after this many cards of the deal (of 32).
constexpr int kKillAfterCards = 12;

} // namespace

TEST(LostPlayer, KilledPlayerIsReplacedAndTheGameResumes) {
    e2e::Table table;
    e2e::AppProcess& dealer = table.Dealer(
        "Ann", {"--seat", "1", "--partner", "3", "--partner", "4", "--start", "--autoplay"});
    e2e::AppProcess& bob = table.Joiner("Bob", e2e::OwnSeat(2));
    ASSERT_TRUE(bob.WaitForTrace("card", kKillAfterCards, kEventLimit)) << bob.Describe();
    bob.Kill();

    ASSERT_TRUE(dealer.WaitForTrace("stopped", 1, kEventLimit)) << dealer.Describe();
    ASSERT_TRUE(dealer.Running()) << dealer.Describe();
    // Stopped in the middle of deal 1.
    const int before = e2e::CardsBetween(dealer, "deal 1", "stopped");
    EXPECT_TRUE(before > 0 && before < 32) << before;

    e2e::AppProcess& cid = table.Joiner("Cid", e2e::OwnSeat(2));
    ASSERT_TRUE(dealer.WaitForTrace("resumed", 1, kEventLimit)) << dealer.Describe();
    e2e::ExpectAgreeingSheets({&dealer, &cid}, kGameLimit);
    // The kept deal went on with its remaining cards only; nothing was dealt anew.
    EXPECT_EQ(std::tuple(e2e::CardsBetween(dealer, "deal 1", "deal 2"), dealer.CountTrace("deal 1"),
                         cid.CountTrace("resumed"), cid.CountTrace("deal 1")),
              std::tuple(32, 1, 1, 0))
        << dealer.Describe() << cid.Describe();
}

TEST(LostPlayer, KilledDealerIsReplacedAndTheKeptGameResumesForTheWholeTable) {
    e2e::Table table;
    ASSERT_TRUE(table.SeatFour()) << table[0].Describe();
    ASSERT_TRUE(table[1].WaitForTrace("deal 2", 1, kGameLimit)) << table[1].Describe();
    ASSERT_TRUE(table[1].WaitForTrace("card", 32 + kKillAfterCards, kEventLimit))
        << table[1].Describe();
    table[0].Kill();
    for (int i = 1; i < 4; ++i) {
        ASSERT_TRUE(table[i].WaitForTrace("dealer-lost", 1, kEventLimit)) << table[i].Describe();
        ASSERT_TRUE(table[i].Running()) << table[i].Describe();
    }
    // A new dealer program on seat 1 of the same port, some time later: it holds no
    // kept game, the others do.
    std::this_thread::sleep_for(std::chrono::seconds(15));
    e2e::AppProcess& dan = table.Dealer("Dan", e2e::OwnSeat(1));
    e2e::ExpectAgreeingSheets({&dan, &table[1], &table[2], &table[3]}, kGameLimit);
    // Deal 1, played before the kill, is on every sheet; nothing was dealt anew.
    const std::vector<std::string> rows = e2e::SheetRows(dan.Out());
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().rfind("1 ", 0), 0u) << dan.Out();
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(std::pair(table[i].CountTrace("resumed"), table[i].CountTrace("deal 1")),
                  std::pair(1, i < 4 ? 1 : 0))
            << table[i].Describe();
}
