// Whole games on the loopback interface: one program with three computer
// partners, programs sharing the seats with computer partners, four programs
// each at its own seat, and a watcher joining during the game. Every program
// ends by itself and prints the same sound score sheet.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace {

// Four programs run a game at about a card per tenth of a second on a busy
// machine; the limit leaves room for that several times over.
const e2e::Ms kGameLimit(300000);
const char* const kNames[] = {"Ann", "Bob", "Cid", "Dan"};

// A finished game's sheet and nothing else: deals numbered from 1, each scoring
// for one side at least; a side's column shows its running total after a deal
// it scored, else a marker; the totals add up and one of them passed 300.
void ExpectSoundSheet(const e2e::AppProcess& app) {
    static const std::regex deal(
        R"(^Deal (\d+): contract (\d+) (clubs|diamonds|hearts|spades|no trump)( doubled| redoubled)? by .+ \(seat [1-4]\) \| hand points \d and \d: \d+, \d and \d: \d+ \| result \d and \d: (\d+) \((\S+)\), \d and \d: (\d+) \((\S+)\)$)");
    static const std::regex total(R"(^Total: \d and \d: (\d+), \d and \d: (\d+)$)");
    const std::vector<std::string> lines = e2e::Lines(app.Out());
    ASSERT_GE(lines.size(), 3u) << app.Describe();
    int sum[2] = {0, 0};
    std::smatch m;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        ASSERT_TRUE(std::regex_match(lines[i], m, deal)) << lines[i] << "\n" << app.Describe();
        EXPECT_EQ(std::stoul(m[1]), i + 1) << lines[i];
        EXPECT_GT(std::stoi(m[2]), 0) << lines[i];
        EXPECT_GT(std::stoi(m[5]) + std::stoi(m[7]), 0) << lines[i];
        for (int side = 0; side < 2; ++side) {
            const int gained = std::stoi(m[5 + 2 * side]);
            const std::string shown = m[6 + 2 * side], total = std::to_string(sum[side] += gained);
            const bool marker = shown.find_first_not_of("0123456789") != std::string::npos;
            EXPECT_TRUE(shown == total || (gained == 0 && marker)) << lines[i];
        }
    }
    ASSERT_TRUE(std::regex_match(lines.back(), m, total)) << app.Describe();
    EXPECT_EQ(std::stoi(m[1]), sum[0]) << app.Describe();
    EXPECT_EQ(std::stoi(m[2]), sum[1]) << app.Describe();
    EXPECT_TRUE(sum[0] > 300 || sum[1] > 300) << app.Describe();
}

void ExpectSameSoundSheets(e2e::Table& table) {
    std::vector<e2e::AppProcess*> apps;
    for (auto& app : table.apps)
        apps.push_back(app.get());
    e2e::ExpectAgreeingSheets(apps, kGameLimit, true);
    for (e2e::AppProcess* app : apps)
        ExpectSoundSheet(*app);
}

std::vector<std::string> Own(int seat) {
    return {"--seat", std::to_string(seat), "--start", "--autoplay"};
}

struct Seating {
    const char* name;
    std::vector<std::vector<std::string>> programs; // the dealer's first
};

class WholeGame : public ::testing::TestWithParam<Seating> {};

} // namespace

TEST_P(WholeGame, EveryProgramPrintsTheSameSoundSheet) {
    e2e::Table table;
    ASSERT_GT(table.port, 0);
    const auto& programs = GetParam().programs;
    for (size_t i = 0; i < programs.size(); ++i)
        i == 0 ? table.Dealer(kNames[0], programs[0]) : table.Joiner(kNames[i], programs[i]);
    ExpectSameSoundSheets(table);
}

// With two computer partners each, neither player sits down, and the first
// program to finish leaves while the other may still be scoring the last deal.
INSTANTIATE_TEST_SUITE_P(
    Tables, WholeGame,
    ::testing::Values(Seating{"OneProgramWithThreeComputerPartners",
                              {{"--seat", "1", "--partner", "2", "--partner", "3", "--partner", "4",
                                "--start", "--autoplay"}}},
                      Seating{"TwoProgramsWithTwoComputerPartnersEach",
                              {{"--partner", "1", "--partner", "4"},
                               {"--partner", "2", "--partner", "3"}}},
                      Seating{"FourProgramsEachAtItsOwnSeat", {Own(1), Own(2), Own(3), Own(4)}}),
    [](const ::testing::TestParamInfo<Seating>& info) { return info.param.name; });

// The cards played while the watcher waits for the running game must still reach
// it: the answer holds only those played before the question was relayed.
TEST(WholeGameWatched, WatcherJoiningDuringTheGamePrintsTheSameSheet) {
    e2e::Table table;
    ASSERT_TRUE(table.SeatFour()) << table[0].Describe();
    ASSERT_TRUE(table[0].WaitForTrace("card", 6, kGameLimit)) << table[0].Describe();
    ASSERT_EQ(table[0].CountTrace("game-over"), 0) << table[0].Describe();
    e2e::AppProcess& watcher = table.Joiner("Eve", {});
    ExpectSameSoundSheets(table);
    // It followed the cards as they were played, from the middle of the first deal on.
    EXPECT_GT(watcher.CountTrace("card"), 0) << watcher.Describe();
    EXPECT_LT(watcher.CountTrace("card"), table[0].CountTrace("card")) << watcher.Describe();
}
