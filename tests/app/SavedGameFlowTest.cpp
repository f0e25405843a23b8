// Saving and loading the held game record, and Undo/Redo, through the game flow.
#include "tests/app/AppTestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "app/CReplaySnapshots.h"

using namespace apptest;

namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> Held(const CGameFlow& flow) {
    const CRecordBuffer* r = flow.PendingGame();
    return r ? std::vector<uint8_t>(r->Data(), r->Data() + r->Length()) : std::vector<uint8_t>{};
}

class SavedGameFlowTest : public GameFixture {
protected:
    std::filesystem::path dir;

    void SetUp() override {
        GameFixture::SetUp();
        dir = std::filesystem::temp_directory_path() / ("vesk-flow-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        StartDeal(0);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        GameFixture::TearDown();
    }
    std::string Path(const char* name) const { return (dir / name).string(); }
};

} // namespace

TEST_F(SavedGameFlowTest, SavingWritesTheHeldRecordOrTheRunningGameAndBadFilesAreRefused) {
    // Nothing held: the running game is written and not kept.
    ASSERT_EQ(flow->SaveGameFile(Path("running.vsk")), 1);
    EXPECT_EQ(flow->PendingGame(), nullptr);
    const std::vector<uint8_t> good = FileBytes(Path("running.vsk"));
    ASSERT_GT(good.size(), 4u);

    // A kept game is unsaved until written; it is written unchanged and stays held.
    flow->KeepRunningGame();
    EXPECT_TRUE(flow->HasUnsavedRecord());
    const std::vector<uint8_t> kept = Held(*flow);
    PlayFrom(0, "9C"); // the table moves on; the held record does not
    ASSERT_EQ(flow->SaveGameFile(Path("kept.vsk")), 1);
    EXPECT_FALSE(flow->HasUnsavedRecord());
    EXPECT_EQ(FileBytes(Path("kept.vsk")), kept);
    EXPECT_EQ(Held(*flow), kept);

    EXPECT_EQ(flow->SaveGameFile(Path("no/such/dir.vsk")), 0);
    EXPECT_EQ(platform.beeps, (std::vector<int>{kBeepSimple}));

    // A loaded file is the held record, saved; bad files beep and leave it.
    ASSERT_TRUE(flow->LoadGameFile(Path("running.vsk")));
    ASSERT_EQ(Held(*flow), good);
    EXPECT_FALSE(flow->HasUnsavedRecord());
    // Scrambled contents behind a header that claims exactly the file's length.
    std::vector<uint8_t> noise(good.size());
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
    noise[0] = 0x30;
    noise[1] = 0x82;
    noise[2] = static_cast<uint8_t>((noise.size() - 4) >> 8);
    noise[3] = static_cast<uint8_t>(noise.size() - 4);
    const std::vector<uint8_t> files[] = {
        {}, {good.begin(), good.end() - 7}, noise, std::vector<uint8_t>(65536, 0x30)};
    for (size_t i = 0; i <= std::size(files); ++i) { // the last one is missing
        SCOPED_TRACE(i);
        const std::string path = Path(("bad" + std::to_string(i)).c_str());
        if (i < std::size(files))
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(files[i].data()),
                       static_cast<std::streamsize>(files[i].size()));
        platform.beeps.clear();
        EXPECT_FALSE(flow->LoadGameFile(path));
        EXPECT_EQ(platform.beeps, (std::vector<int>{kBeepSimple}));
        EXPECT_EQ(Held(*flow), good);
    }
}

TEST_F(SavedGameFlowTest, UndoAndRedoStepThroughTheOwnCards) {
    CReplaySnapshots snapshots;
    flow->SetSnapshotHook([&] { snapshots.Record(flow->BuildStateRecord(0, false)); });
    // Own card, three more, then the own lead of the second trick.
    PlayFrom(0, "9C");
    PlayFrom(1, "7C");
    PlayFrom(2, "8C");
    PlayFrom(3, "7D");
    ASSERT_EQ(g_contract.turn, 0);
    PlayFrom(0, "TC");
    ASSERT_EQ(snapshots.Index(), 1);

    ASSERT_TRUE(flow->UndoReplay(snapshots));
    Pump();
    // Before the first own card, then before the second.
    EXPECT_EQ(std::tuple(g_pHand[0]->Count(), g_pTable->Count(), g_contract.turn),
              std::tuple(8, 0, 0));
    ASSERT_TRUE(flow->RedoReplay(snapshots));
    Pump();
    EXPECT_EQ(
        std::tuple(g_pHand[0]->Count(), g_pHand[3]->Count(), g_pTable->Count(), g_contract.turn),
        std::tuple(7, 7, 4, 0));
    EXPECT_EQ(snapshots.Index(), 1); // applying a snapshot records none
    EXPECT_FALSE(flow->RedoReplay(snapshots));
}
