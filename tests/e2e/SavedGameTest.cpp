// A game saved by one program in the middle of a deal is loaded by a program at
// a fresh table, on the same or another seat, and played to its end from where
// it was saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/TableSheets.h"

namespace {

const e2e::Ms kGameLimit(180000);
// Deal 1 and a quarter of deal 2.
constexpr int kSaveAfterCards = 40;

// A lone program at `seat` with the three computer partners on the other seats.
std::vector<std::string> LoneTable(const std::string& name, int seat) {
    std::vector<std::string> args = {"--name", name, "--deal", "--seat", std::to_string(seat)};
    for (int k = 1; k <= 4; ++k)
        if (k != seat) args.insert(args.end(), {"--partner", std::to_string(k)});
    args.insert(args.end(),
                {"--start", "--autoplay", "--pace", "0", "--exit-after-game", "--trace"});
    return args;
}

struct SeatPair {
    int saveSeat;
    int loadSeat;
    // The file is given alone, as the desktop entry passes it, not after --load.
    bool fileAlone;
};

void AddLoad(std::vector<std::string>& args, const std::string& file, bool alone) {
    if (alone)
        args.push_back(file);
    else
        args.insert(args.end(), {"--load", file});
}

class SavedGame : public ::testing::TestWithParam<SeatPair> {};

} // namespace

TEST_P(SavedGame, LoadedGameResumesWhereItWasSavedAndFinishes) {
    const SeatPair seats = GetParam();
    const std::string file =
        (std::filesystem::temp_directory_path() /
         ("vesk-saved-" + std::to_string(getpid()) + "-" + std::to_string(seats.saveSeat) + ".vsk"))
            .string();
    std::filesystem::remove(file);

    e2e::AppProcess saver("saver");
    std::vector<std::string> args = LoneTable("Sal", seats.saveSeat);
    args.insert(args.end(), {"--save-after-cards", std::to_string(kSaveAfterCards), file});
    const int savePort = e2e::FreePort();
    ASSERT_GT(savePort, 0);
    ASSERT_TRUE(saver.Start(VESK_APP_PATH, args, e2e::HeadlessEnv(savePort)));
    ASSERT_TRUE(saver.WaitForExit(kGameLimit)) << saver.Describe();
    ASSERT_EQ(saver.ExitCode(), 0) << saver.Describe();
    ASSERT_EQ(saver.CountTrace("saved"), 1) << saver.Describe();
    // Saving does not disturb the game: it goes on to its end.
    const std::vector<std::string> savedRows = tablesheets::SheetRows(saver.Out());
    ASSERT_TRUE(tablesheets::FinishedGame(savedRows)) << saver.Describe();

    e2e::AppProcess loader("loader");
    args = LoneTable("Lou", seats.loadSeat);
    AddLoad(args, file, seats.fileAlone);
    const int loadPort = e2e::FreePort();
    ASSERT_GT(loadPort, 0);
    ASSERT_TRUE(loader.Start(VESK_APP_PATH, args, e2e::HeadlessEnv(loadPort)));
    ASSERT_TRUE(loader.WaitForExit(kGameLimit)) << loader.Describe();
    std::filesystem::remove(file);
    ASSERT_EQ(loader.ExitCode(), 0) << loader.Describe();
    EXPECT_EQ(loader.CountTrace("loaded"), 1) << loader.Describe();
    EXPECT_EQ(loader.CountTrace("resumed"), 1) << loader.Describe();
    // No new game was dealt: the saved deal 2 goes on with the cards it had left.
    EXPECT_EQ(loader.CountTrace("deal 1"), 0) << loader.Describe();
    EXPECT_EQ(loader.CountTrace("deal 2"), 0) << loader.Describe();
    EXPECT_EQ(tablesheets::CardsBetween(loader, "resumed", "deal"), 64 - kSaveAfterCards)
        << loader.Describe();

    const std::vector<std::string> loadedRows = tablesheets::SheetRows(loader.Out());
    ASSERT_TRUE(tablesheets::FinishedGame(loadedRows)) << loader.Describe();
    // Deal 1 was over when the game was saved: the loaded sheet keeps it, with
    // each partnership's figures on the same seats whoever saved and loaded.
    ASSERT_GE(loadedRows.size(), 2u);
    EXPECT_EQ(loadedRows.front(), savedRows.front()) << saver.Out() << "\n" << loader.Out();
}

INSTANTIATE_TEST_SUITE_P(Seats, SavedGame,
                         ::testing::Values(SeatPair{1, 1, false}, SeatPair{3, 2, true}),
                         [](const ::testing::TestParamInfo<SeatPair>& info) {
                             return "Saved" + std::to_string(info.param.saveSeat) + "Loaded" +
                                    std::to_string(info.param.loadSeat);
                         });

// A file that is no saved game is refused at start-up, after --load or alone:
// the program beeps, goes on and deals a new game.
TEST(SavedGameRefused, BadFileOnTheCommandLineLeavesANewGame) {
    // A record header that claims 557 bytes, followed by only 60.
    std::vector<uint8_t> truncated = {0x30, 0x82, 0x02, 0x2d, 0x30, 0x23};
    truncated.resize(64, 0x02);
    std::vector<uint8_t> noise(600);
    uint32_t x = 99;
    for (auto& b : noise) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool fileAlone;
    } files[] = {{"empty", {}, false}, {"truncated", truncated, true}, {"noise", noise, false}};
    for (const auto& f : files) {
        const std::string file = (std::filesystem::temp_directory_path() /
                                  ("vesk-bad-" + std::to_string(getpid()) + "-" + f.name + ".vsk"))
                                     .string();
        {
            std::ofstream out(file, std::ios::binary);
            out.write(reinterpret_cast<const char*>(f.bytes.data()),
                      static_cast<std::streamsize>(f.bytes.size()));
        }
        std::vector<std::string> args = LoneTable("Bea", 1);
        AddLoad(args, file, f.fileAlone);
        const int port = e2e::FreePort();
        ASSERT_GT(port, 0);
        e2e::AppProcess app(f.name);
        ASSERT_TRUE(app.Start(VESK_APP_PATH, args, e2e::HeadlessEnv(port)));
        EXPECT_TRUE(app.WaitForTrace("card", 4, kGameLimit)) << app.Describe();
        EXPECT_TRUE(app.Running()) << app.Describe();
        app.Kill();
        std::filesystem::remove(file);
        EXPECT_EQ(app.CountTrace("load-refused"), 1) << app.Describe();
        EXPECT_EQ(app.CountTrace("resumed"), 0) << app.Describe();
        EXPECT_EQ(app.CountTrace("deal 1"), 1) << app.Describe();
    }
}
