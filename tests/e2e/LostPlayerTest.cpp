// Programs that go away in the middle of a game: a started player's program is
// killed and another takes the seat, and the game resumes where it stopped; the
// dealer's program is killed and the other program goes on to a new table.
#include <gtest/gtest.h>

#include <string>
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

TEST_F(LostPlayer, KilledDealerLeavesTheOtherProgramFreeToJoinANewTable) {
    e2e::AppProcess dealer("dealer"), bob("bob"), dan("dan");
    ASSERT_TRUE(StartDealer(dealer, "Ann")) << dealer.Describe();
    ASSERT_TRUE(StartJoiner(bob, "Bob", true));
    ASSERT_TRUE(bob.WaitForTrace("card", kKillAfterCards, kEventLimit)) << bob.Describe();
    dealer.Kill();

    ASSERT_TRUE(bob.WaitForTrace("dealer-lost", 1, kEventLimit)) << bob.Describe();
    ASSERT_TRUE(bob.Running()) << bob.Describe();
    // A new dealer on the same port: the program that lost its dealer joins it
    // with its command line's choices and plays a new game there.
    ASSERT_TRUE(StartDealer(dan, "Dan")) << dan.Describe();
    ASSERT_TRUE(bob.WaitForTrace("connected", 1, kEventLimit)) << bob.Describe();
    ExpectSameFinishedGame(dan, bob);
    EXPECT_EQ(bob.CountTrace("resumed"), 0) << bob.Describe();
    EXPECT_EQ(bob.CountTrace("deal 1"), 2) << bob.Describe();
}
