// Several VeskApp programs at one table on the loopback interface: the dealer
// and the programs that join it play a whole game through the dealer's relay,
// and every program, a watcher that joined during the game included, prints
// the same score sheet at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace {

// Whole games of four programs run at about a card per tenth of a second on a
// busy machine; the limits leave room for that several times over.
const e2e::Ms kListenLimit(30000);
const e2e::Ms kGameLimit(300000);
const std::vector<std::string> kCommon = {"--pace", "0", "--exit-after-game", "--trace"};

// The sheet with both partnerships of every line in seat order ("1 and 3"
// first): each program names its own partnership first.
std::string Normalised(const std::string& sheet) {
    static const std::regex two(R"(^(.*?)(\d and \d): (.*), (\d and \d): (.*)$)");
    std::string out;
    for (const std::string& line : e2e::Lines(sheet)) {
        std::string rebuilt;
        size_t from = 0;
        for (;;) {
            const size_t bar = line.find(" | ", from);
            std::string part = line.substr(from, bar == std::string::npos ? bar : bar - from);
            std::smatch m;
            if (std::regex_match(part, m, two) && m[2].str() > m[4].str())
                part = m[1].str() + m[4].str() + ": " + m[5].str() + ", " + m[2].str() + ": " +
                       m[3].str();
            rebuilt += part;
            if (bar == std::string::npos) break;
            rebuilt += " | ";
            from = bar + 3;
        }
        out += rebuilt + "\n";
    }
    return out;
}

// A finished game's sheet: deal lines, then totals of which one passed 300.
void ExpectFinishedGame(const std::string& sheet) {
    static const std::regex total(R"(^Total: 1 and 3: (\d+), 2 and 4: (\d+)$)");
    const std::vector<std::string> lines = e2e::Lines(sheet);
    ASSERT_GE(lines.size(), 2u) << sheet;
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i].rfind("Deal " + std::to_string(i + 1) + ": contract ", 0), 0u) << sheet;
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines.back(), m, total)) << sheet;
    EXPECT_TRUE(std::stoi(m[1]) > 300 || std::stoi(m[2]) > 300) << sheet;
}

class ProgramTable : public ::testing::Test {
protected:
    void SetUp() override {
        m_port = e2e::FreePort();
        ASSERT_GT(m_port, 0);
    }

    e2e::AppProcess& Launch(const std::string& label, std::vector<std::string> args) {
        args.insert(args.end(), kCommon.begin(), kCommon.end());
        m_apps.push_back(std::make_unique<e2e::AppProcess>(label));
        EXPECT_TRUE(m_apps.back()->Start(VESK_APP_PATH, args, e2e::HeadlessEnv(m_port))) << label;
        return *m_apps.back();
    }
    e2e::AppProcess& Dealer(std::vector<std::string> args) {
        args.insert(args.begin(), {"--name", "Ann", "--deal"});
        e2e::AppProcess& dealer = Launch("dealer", args);
        EXPECT_TRUE(e2e::WaitForListener(m_port, kListenLimit, &dealer)) << dealer.Describe();
        return dealer;
    }
    e2e::AppProcess& Joiner(const std::string& name, std::vector<std::string> args) {
        args.insert(args.begin(), {"--name", name, "--join", "127.0.0.1"});
        return Launch(name, args);
    }

    // Every program ends by itself with exit code 0 and the same finished game's sheet.
    void ExpectSameSheets() {
        const auto deadline = std::chrono::steady_clock::now() + kGameLimit;
        for (auto& app : m_apps) {
            const auto left =
                std::chrono::duration_cast<e2e::Ms>(deadline - std::chrono::steady_clock::now());
            ASSERT_TRUE(app->WaitForExit(std::max(left, e2e::Ms(1)))) << "time limit\n"
                                                                      << app->Describe();
        }
        for (auto& app : m_apps)
            ASSERT_EQ(app->ExitCode(), 0) << app->Describe();
        const std::string first = Normalised(m_apps.front()->Out());
        ExpectFinishedGame(first);
        for (auto& app : m_apps)
            EXPECT_EQ(Normalised(app->Out()), first) << app->Describe();
    }

    int m_port = 0;
    // Killed when the test ends, whatever happened.
    std::vector<std::unique_ptr<e2e::AppProcess>> m_apps;
};

} // namespace

// Neither player sits down: each program runs two computer partners, one of
// each partnership, and the first to finish leaves while the other may still be
// scoring the last deal.
TEST_F(ProgramTable, TwoProgramsWithTwoComputerPartnersEachPrintTheSameSheet) {
    Dealer({"--partner", "1", "--partner", "4"});
    Joiner("Bob", {"--partner", "2", "--partner", "3"});
    ExpectSameSheets();
}

TEST_F(ProgramTable, FourProgramsEachPlayingItsOwnSeatPrintTheSameSheet) {
    Dealer({"--seat", "1", "--start", "--autoplay"});
    Joiner("Bob", {"--seat", "2", "--start", "--autoplay"});
    Joiner("Cid", {"--seat", "3", "--start", "--autoplay"});
    Joiner("Dan", {"--seat", "4", "--start", "--autoplay"});
    ExpectSameSheets();
}

// The cards played while the watcher waits for the running game must still reach
// it: the answer holds only those played before the question was relayed.
TEST_F(ProgramTable, WatcherJoiningDuringTheGamePrintsTheSameSheet) {
    e2e::AppProcess& dealer = Dealer({"--seat", "1", "--start", "--autoplay"});
    Joiner("Bob", {"--seat", "2", "--start", "--autoplay"});
    Joiner("Cid", {"--seat", "3", "--start", "--autoplay"});
    Joiner("Dan", {"--seat", "4", "--start", "--autoplay"});
    ASSERT_TRUE(dealer.WaitForTrace("card", 6, kGameLimit)) << dealer.Describe();
    ASSERT_EQ(dealer.CountTrace("game-over"), 0) << dealer.Describe();
    e2e::AppProcess& watcher = Joiner("Eve", {});
    ExpectSameSheets();
    // It followed the cards as they were played, from the middle of the first deal on.
    EXPECT_GT(watcher.CountTrace("card"), 0) << watcher.Describe();
    EXPECT_LT(watcher.CountTrace("card"), dealer.CountTrace("card")) << watcher.Describe();
}
