#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "storage/SavedGameFile.h"

namespace {

class SavedGameFileTest : public ::testing::Test {
protected:
    std::filesystem::path dir;

    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("vesk-storage-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
};

} // namespace

// What is written reads back, a second save replaces the file, and reading refuses
// a missing, empty or oversized file without touching the output.
TEST_F(SavedGameFileTest, WrittenBytesReadBackAndReadingChecksTheFile) {
    const std::string game = (dir / "game.vsk").string();
    ASSERT_EQ(WriteSavedGame(game, std::vector<uint8_t>(500, 3)), FileResult::Ok);
    const struct {
        std::string path;
        size_t size; // bytes written first; npos: no file
        FileResult expected;
    } cases[] = {
        {(dir / "missing.vsk").string(), std::string::npos, FileResult::OpenFailed},
        {game, 300, FileResult::Ok},
        {(dir / "empty.vsk").string(), 0, FileResult::Empty},
        {(dir / "largest.vsk").string(), 65535, FileResult::Ok},
        {(dir / "toolarge.vsk").string(), 65536, FileResult::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<uint8_t> bytes;
        for (size_t i = 0; c.size != std::string::npos && i < c.size; ++i)
            bytes.push_back(static_cast<uint8_t>(i * 7));
        if (c.size != std::string::npos) {
            if (c.path == game)
                ASSERT_EQ(WriteSavedGame(game, bytes), FileResult::Ok);
            else
                std::ofstream(c.path, std::ios::binary)
                    .write(reinterpret_cast<const char*>(bytes.data()),
                           static_cast<std::streamsize>(bytes.size()));
        }
        std::vector<uint8_t> out{9, 9};
        EXPECT_EQ(ReadSavedGame(c.path, out), c.expected);
        EXPECT_EQ(out, (c.expected == FileResult::Ok ? bytes : std::vector<uint8_t>{9, 9}));
    }
}

TEST_F(SavedGameFileTest, AFailedSaveSaysWhyAndKeepsTheEarlierFile) {
    int error = 0;
    // A device that takes no bytes: every write fails, nothing is renamed over it.
    EXPECT_EQ(WriteSavedGame("/dev/full", std::vector<uint8_t>(100, 1), &error),
              FileResult::ShortWrite);
    EXPECT_EQ(error, ENOSPC);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));

    // A disk that fills up in the middle of a save (here a file size limit, in a
    // child process): the earlier file keeps its bytes and no temporary file stays.
    const std::string path = (dir / "earlier.vsk").string();
    const std::vector<uint8_t> before(40, 5);
    ASSERT_EQ(WriteSavedGame(path, before), FileResult::Ok);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        int e = 0;
        const FileResult r = WriteSavedGame(path, std::vector<uint8_t>(5000, 7), &e);
        _exit(r == FileResult::ShortWrite && e == EFBIG ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::vector<uint8_t> after;
    ASSERT_EQ(ReadSavedGame(path, after), FileResult::Ok);
    EXPECT_EQ(after, before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1);
}
