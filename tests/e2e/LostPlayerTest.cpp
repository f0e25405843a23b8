// Programs that go away in the middle of a game: a started player's program is
// killed and another takes the seat, and the game resumes where it stopped; the
// dealer's program is killed in deal 2, a new dealer program takes its seat, and
// the game that the others kept resumes for the whole table.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/TableSheets.h"

namespace {

const e2e::Ms kListenLimit(30000);
const e2e::Ms kEventLimit(60000);
const e2e::Ms kGameLimit(300000);
// Killed after this many cards of deal 1 (of 32).
constexpr int kKillAfterCards = 12;

std::vector<std::string> Args(std::vector<std::string> args) {
    args.insert(args.end(), {"--pace", "0", "--trace"});
    return args;
}

class LostPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        port = e2e::FreePort();
        ASSERT_GT(port, 0);
    }
    // The dealer at seat 1 with computer partners at seats 3 and 4.
    bool StartDealer(e2e::AppProcess& app, const std::string& name) {
        return app.Start(VESK_APP_PATH,
                         Args({"--name", name, "--deal", "--seat", "1", "--partner", "3",
                               "--partner", "4", "--start", "--autoplay", "--exit-after-game"}),
                         e2e::HeadlessEnv(port)) &&
               tablesheets::WaitForListener(app, port, kListenLimit);
    }
    // A program that joins and takes seat 2.
    bool StartJoiner(e2e::AppProcess& app, const std::string& name, bool exitAfterGame) {
        std::vector<std::string> args = {"--name", name, "--join",  "127.0.0.1",
                                         "--seat", "2",  "--start", "--autoplay"};
        if (exitAfterGame) args.push_back("--exit-after-game");
        return app.Start(VESK_APP_PATH, Args(args), e2e::HeadlessEnv(port));
    }
    // Both end by themselves with the same finished game's sheet.
    static void ExpectSameFinishedGame(e2e::AppProcess& a, e2e::AppProcess& b) {
        ASSERT_TRUE(a.WaitForExit(kGameLimit)) << a.Describe();
        ASSERT_TRUE(b.WaitForExit(kGameLimit)) << b.Describe();
        ASSERT_EQ(a.ExitCode(), 0) << a.Describe();
        ASSERT_EQ(b.ExitCode(), 0) << b.Describe();
        const std::vector<std::string> rows = tablesheets::SheetRows(a.Out());
        EXPECT_TRUE(tablesheets::FinishedGame(rows)) << a.Out();
        EXPECT_EQ(tablesheets::SheetRows(b.Out()), rows) << a.Out() << "\n" << b.Out();
    }

    int port = 0;
};

} // namespace

TEST_F(LostPlayer, KilledPlayerIsReplacedAndTheGameResumes) {
    e2e::AppProcess dealer("dealer"), bob("bob"), cid("cid");
    ASSERT_TRUE(StartDealer(dealer, "Ann")) << dealer.Describe();
    ASSERT_TRUE(StartJoiner(bob, "Bob", false));
    ASSERT_TRUE(bob.WaitForTrace("card", kKillAfterCards, kEventLimit)) << bob.Describe();
    bob.Kill();

    ASSERT_TRUE(dealer.WaitForTrace("stopped", 1, kEventLimit)) << dealer.Describe();
    ASSERT_TRUE(dealer.Running()) << dealer.Describe();
    // Stopped in the middle of deal 1.
    const int before = tablesheets::CardsBetween(dealer, "deal 1", "stopped");
    EXPECT_GT(before, 0);
    EXPECT_LT(before, 32);

    ASSERT_TRUE(StartJoiner(cid, "Cid", true));
    ASSERT_TRUE(dealer.WaitForTrace("resumed", 1, kEventLimit)) << dealer.Describe();
    ExpectSameFinishedGame(dealer, cid);
    // The kept deal went on with its remaining cards only; nothing was dealt anew.
    EXPECT_EQ(tablesheets::CardsBetween(dealer, "deal 1", "deal 2"), 32) << dealer.Describe();
    EXPECT_EQ(dealer.CountTrace("deal 1"), 1) << dealer.Describe();
    EXPECT_EQ(cid.CountTrace("resumed"), 1) << cid.Describe();
    EXPECT_EQ(cid.CountTrace("deal 1"), 0) << cid.Describe();
}

TEST_F(LostPlayer, KilledDealerIsReplacedAndTheKeptGameResumesForTheWholeTable) {
    // Four programs, a human at each seat; the dealer's PC is lost in deal 2.
    static const char* const names[4] = {"Ann", "Bob", "Cid", "Dee"};
    std::vector<std::unique_ptr<e2e::AppProcess>> apps;
    for (int seat = 1; seat <= 4; ++seat) {
        apps.push_back(std::make_unique<e2e::AppProcess>(names[seat - 1]));
        std::vector<std::string> args = {
            "--name",  names[seat - 1], "--seat",           std::to_string(seat),
            "--start", "--autoplay",    "--exit-after-game"};
        if (seat == 1)
            args.push_back("--deal");
        else
            args.insert(args.end(), {"--join", "127.0.0.1"});
        ASSERT_TRUE(apps.back()->Start(VESK_APP_PATH, Args(args), e2e::HeadlessEnv(port)));
        if (seat == 1) {
            ASSERT_TRUE(tablesheets::WaitForListener(*apps[0], port, kListenLimit));
        }
    }
    e2e::AppProcess& bob = *apps[1];
    ASSERT_TRUE(bob.WaitForTrace("deal 2", 1, kGameLimit)) << bob.Describe();
    ASSERT_TRUE(bob.WaitForTrace("card", 32 + kKillAfterCards, kEventLimit)) << bob.Describe();
    apps[0]->Kill();
    for (int i = 1; i < 4; ++i) {
        ASSERT_TRUE(apps[i]->WaitForTrace("dealer-lost", 1, kEventLimit)) << apps[i]->Describe();
        ASSERT_TRUE(apps[i]->Running()) << apps[i]->Describe();
    }
    // A new dealer program on seat 1 of the same port, some time later: it holds no
    // kept game, the others do.
    std::this_thread::sleep_for(std::chrono::seconds(15));
    e2e::AppProcess dan("Dan");
    ASSERT_TRUE(dan.Start(VESK_APP_PATH,
                          Args({"--name", "Dan", "--deal", "--seat", "1", "--start", "--autoplay",
                                "--exit-after-game"}),
                          e2e::HeadlessEnv(port)));
    ASSERT_TRUE(dan.WaitForExit(kGameLimit)) << dan.Describe();
    ASSERT_EQ(dan.ExitCode(), 0) << dan.Describe();
    const std::vector<std::string> rows = tablesheets::SheetRows(dan.Out());
    EXPECT_TRUE(tablesheets::FinishedGame(rows)) << dan.Out();
    // Deal 1, played before the kill, is on every sheet; nothing was dealt anew.
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().rfind("1 ", 0), 0u) << dan.Out();
    EXPECT_EQ(dan.CountTrace("resumed"), 1) << dan.Describe();
    EXPECT_EQ(dan.CountTrace("deal 1"), 0) << dan.Describe();
    for (int i = 1; i < 4; ++i) {
        e2e::AppProcess& app = *apps[i];
        ASSERT_TRUE(app.WaitForExit(kGameLimit)) << app.Describe();
        ASSERT_EQ(app.ExitCode(), 0) << app.Describe();
        EXPECT_EQ(tablesheets::SheetRows(app.Out()), rows) << app.Out() << "\n" << dan.Out();
        EXPECT_EQ(app.CountTrace("resumed"), 1) << app.Describe();
        EXPECT_EQ(app.CountTrace("deal 1"), 1) << app.Describe();
    }
}
