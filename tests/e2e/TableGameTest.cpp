// Whole games on the loopback interface, with programs and computer partners
// on the seats and a watcher joining: every program ends by itself and prints
// the same score sheet, which adds up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace {

// Several times what four programs take for a game on a busy machine.
const e2e::Ms kGameLimit(300000);
const char* const kNames[] = {"Ann", "Bob", "Cid", "Dan"};

void ExpectSameSheets(e2e::Table& table) {
    std::vector<e2e::AppProcess*> apps;
    for (auto& app : table.apps)
        apps.push_back(app.get());
    e2e::ExpectAgreeingSheets(apps, kGameLimit, true);
    // A game played through names each declarer's seat.
    for (const std::string& row : e2e::SheetRows(apps.front()->Out(), true))
        EXPECT_TRUE(row.rfind("Total", 0) == 0 || row.find(" (seat ") != std::string::npos) << row;
}

struct Seating {
    const char* name;
    std::vector<std::vector<std::string>> programs; // the dealer's first
};

class WholeGame : public ::testing::TestWithParam<Seating> {};

} // namespace

TEST_P(WholeGame, EveryProgramPrintsTheSameSheet) {
    e2e::Table table;
    ASSERT_GT(table.port, 0);
    const auto& programs = GetParam().programs;
    for (size_t i = 0; i < programs.size(); ++i)
        i == 0 ? table.Dealer(kNames[0], programs[0]) : table.Joiner(kNames[i], programs[i]);
    ExpectSameSheets(table);
}

// With two computer partners each, neither player sits down, and the first
// program to finish leaves while the other may still be scoring the last deal.
INSTANTIATE_TEST_SUITE_P(
    Tables, WholeGame,
    ::testing::Values(
        Seating{"OneProgramWithThreeComputerPartners", {e2e::LoneSeat(1)}},
        Seating{"TwoProgramsWithTwoComputerPartnersEach",
                {{"--partner", "1", "--partner", "4"}, {"--partner", "2", "--partner", "3"}}},
        Seating{"FourProgramsEachAtItsOwnSeat",
                {e2e::OwnSeat(1), e2e::OwnSeat(2), e2e::OwnSeat(3), e2e::OwnSeat(4)}}),
    [](const ::testing::TestParamInfo<Seating>& info) { return info.param.name; });

// The cards played while the watcher waits for the running game must still reach
// it: the answer holds only those played before the question was relayed.
TEST(WholeGameWatched, WatcherJoiningDuringTheGamePrintsTheSameSheet) {
    e2e::Table table;
    ASSERT_TRUE(table.SeatFour()) << table[0].Describe();
    ASSERT_TRUE(table[0].WaitForTrace("card", 6, kGameLimit)) << table[0].Describe();
    ASSERT_EQ(table[0].CountTrace("game-over"), 0) << table[0].Describe();
    e2e::AppProcess& watcher = table.Joiner("Eve", {});
    ExpectSameSheets(table);
    // It followed the cards as they were played, from the middle of the first deal on.
    EXPECT_GT(watcher.CountTrace("card"), 0) << watcher.Describe();
    EXPECT_LT(watcher.CountTrace("card"), table[0].CountTrace("card")) << watcher.Describe();
}
