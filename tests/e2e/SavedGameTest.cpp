// A game saved in the middle of a deal is loaded at a fresh table, on the same
// or another seat, and played to its end from where it was saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace {

const e2e::Ms kGameLimit(180000);
// Deal 1 and a quarter of deal 2.
constexpr int kSaveAfterCards = 40;

// `file` to load after --load or, as the desktop entry passes it, alone.
std::vector<std::string> LoadArgs(const std::string& file, bool alone) {
    return alone ? std::vector<std::string>{file} : std::vector<std::string>{"--load", file};
}

std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("vesk-" + std::to_string(getpid()) + "-" + name + ".vsk"))
        .string();
}

struct SeatPair {
    int saveSeat;
    int loadSeat;
    bool fileAlone;
};

class SavedGame : public ::testing::TestWithParam<SeatPair> {};

} // namespace

TEST_P(SavedGame, LoadedGameResumesWhereItWasSavedAndFinishes) {
    const SeatPair seats = GetParam();
    const std::string file = TempFile("saved-" + std::to_string(seats.saveSeat));
    std::filesystem::remove(file);

    e2e::Table saving, loading;
    e2e::AppProcess& saver = saving.Dealer(
        "Sal", e2e::LoneSeat(seats.saveSeat,
                             {"--save-after-cards", std::to_string(kSaveAfterCards), file}));
    // Saving does not disturb the game: it goes on to its end.
    e2e::ExpectAgreeingSheets({&saver}, kGameLimit);
    ASSERT_EQ(saver.CountTrace("saved"), 1) << saver.Describe();

    e2e::AppProcess& loader =
        loading.Dealer("Lou", e2e::LoneSeat(seats.loadSeat, LoadArgs(file, seats.fileAlone)));
    e2e::ExpectAgreeingSheets({&loader}, kGameLimit);
    std::filesystem::remove(file);
    // Loaded and resumed once, no new game dealt: the saved deal 2 goes on with
    // the cards it had left.
    EXPECT_EQ(std::tuple(loader.CountTrace("loaded"), loader.CountTrace("resumed"),
                         loader.CountTrace("deal 1"), loader.CountTrace("deal 2"),
                         e2e::CardsBetween(loader, "resumed", "deal")),
              std::tuple(1, 1, 0, 0, 64 - kSaveAfterCards))
        << loader.Describe();
    // Deal 1 was over when the game was saved: the loaded sheet keeps it, with
    // each partnership's figures on the same seats whoever saved and loaded.
    const std::vector<std::string> saved = e2e::SheetRows(saver.Out()),
                                   loaded = e2e::SheetRows(loader.Out());
    ASSERT_GE(loaded.size(), 2u);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(loaded.front(), saved.front()) << saver.Out() << "\n" << loader.Out();
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
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool fileAlone;
    } files[] = {{"empty", {}, false}, {"truncated", truncated, true}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const std::string file = TempFile(std::string("bad-") + f.name);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(f.bytes.data()),
                   static_cast<std::streamsize>(f.bytes.size()));
        e2e::Table table;
        e2e::AppProcess& app = table.Dealer("Bea", e2e::LoneSeat(1, LoadArgs(file, f.fileAlone)));
        EXPECT_TRUE(app.WaitForTrace("card", 4, kGameLimit)) << app.Describe();
        EXPECT_TRUE(app.Running()) << app.Describe();
        app.Kill();
        std::filesystem::remove(file);
        EXPECT_EQ(std::tuple(app.CountTrace("load-refused"), app.CountTrace("resumed"),
                             app.CountTrace("deal 1")),
                  std::tuple(1, 0, 1))
            << app.Describe();
    }
}
