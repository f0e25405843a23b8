// VeskApp as the dealer with three computer partners and AutoPlay plays one
// game on the loopback interface, prints the score sheet and exits.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/e2e/E2eSupport.h"

TEST(E2eHeadlessGame, DealerWithThreeComputerPartnersPlaysAGameAndPrintsTheSheet) {
    const int port = e2e::FreePort();
    ASSERT_GT(port, 0);
    e2e::AppProcess app("dealer");
    ASSERT_TRUE(
        app.Start(VESK_APP_PATH,
                  {"--name", "P", "--deal", "--seat", "1", "--partner", "2", "--partner", "3",
                   "--partner", "4", "--start", "--autoplay", "--pace", "0", "--exit-after-game"},
                  e2e::HeadlessEnv(port)));
    ASSERT_TRUE(app.WaitForExit(e2e::Ms(120000))) << "still running at the time limit\n"
                                                  << app.Describe();
    ASSERT_EQ(app.ExitCode(), 0) << app.Describe();
    const std::string out = app.Out();

    const std::regex dealLine(
        R"(^Deal (\d+): contract (\d+) (clubs|diamonds|hearts|spades|no trump)( doubled| redoubled)? by (.+) \(seat ([1-4])\) \| hand points 1 and 3: (\d+), 2 and 4: (\d+) \| result 1 and 3: (\d+) \((\S+)\), 2 and 4: (\d+) \((\S+)\)$)");
    const std::regex totalLine(R"(^Total: 1 and 3: (\d+), 2 and 4: (\d+)$)");
    int deals = 0;
    int sum[2] = {0, 0};
    bool sawTotal = false;
    int total[2] = {0, 0};
    for (const std::string& line : e2e::Lines(out)) {
        std::smatch m;
        if (std::regex_match(line, m, dealLine)) {
            ASSERT_FALSE(sawTotal) << "a deal after the totals: " << line;
            ++deals;
            EXPECT_EQ(std::stoi(m[1]), deals) << line;
            EXPECT_GT(std::stoi(m[2]), 0) << line;
            // The sheet's column: the running total after a deal that scored, else a marker.
            for (int side = 0; side < 2; ++side) {
                const int gained = std::stoi(m[side == 0 ? 9 : 11]);
                const std::string shown = m[side == 0 ? 10 : 12];
                EXPECT_GE(gained, 0) << line;
                sum[side] += gained;
                if (gained > 0)
                    EXPECT_EQ(shown, std::to_string(sum[side])) << line;
                else
                    EXPECT_TRUE(shown.find_first_not_of("0123456789") != std::string::npos ||
                                shown == std::to_string(sum[side]))
                        << line;
            }
            // A deal always scores for one side at least (the contract's value goes somewhere).
            EXPECT_GT(std::stoi(m[9]) + std::stoi(m[11]), 0) << line;
        } else if (std::regex_match(line, m, totalLine)) {
            sawTotal = true;
            total[0] = std::stoi(m[1]);
            total[1] = std::stoi(m[2]);
        } else {
            ADD_FAILURE() << "unexpected output line: " << line;
        }
    }
    ASSERT_TRUE(sawTotal) << out;
    EXPECT_GE(deals, 2);
    EXPECT_TRUE(total[0] > 300 || total[1] > 300) << out;
    EXPECT_EQ(total[0], sum[0]) << out;
    EXPECT_EQ(total[1], sum[1]) << out;
}
