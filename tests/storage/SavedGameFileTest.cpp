#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
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

    std::string WriteRaw(const std::string& name, size_t size) {
        const std::string path = (dir / name).string();
        std::ofstream out(path, std::ios::binary);
        for (size_t i = 0; i < size; ++i)
            out.put(static_cast<char>(i * 7));
        return path;
    }
};

} // namespace

TEST_F(SavedGameFileTest, WrittenBytesReadBackExactly) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 300; ++i)
        bytes.push_back(static_cast<uint8_t>(i)); // zero bytes included
    const std::string path = (dir / "game.vsk").string();
    ASSERT_EQ(WriteSavedGame(path, bytes), FileResult::Ok);
    EXPECT_EQ(std::filesystem::file_size(path), bytes.size());
    std::vector<uint8_t> back;
    ASSERT_EQ(ReadSavedGame(path, back), FileResult::Ok);
    EXPECT_EQ(back, bytes);
    // Saving again replaces the file instead of appending.
    ASSERT_EQ(WriteSavedGame(path, std::vector<uint8_t>{1, 2}), FileResult::Ok);
    ASSERT_EQ(ReadSavedGame(path, back), FileResult::Ok);
    EXPECT_EQ(back, (std::vector<uint8_t>{1, 2}));
}

TEST_F(SavedGameFileTest, ReadingChecksTheFile) {
    struct Case {
        const char* name;
        size_t size; // bytes written first; npos: no file
        FileResult expected;
    };
    const Case cases[] = {
        {"missing.vsk", std::string::npos, FileResult::OpenFailed},
        {"empty.vsk", 0, FileResult::Empty},
        {"largest.vsk", 65535, FileResult::Ok},
        {"toolarge.vsk", 65536, FileResult::TooLarge},
    };
    for (const Case& c : cases) {
        const std::string path =
            c.size == std::string::npos ? (dir / c.name).string() : WriteRaw(c.name, c.size);
        std::vector<uint8_t> out{9, 9};
        EXPECT_EQ(ReadSavedGame(path, out), c.expected) << c.name;
        if (c.expected == FileResult::Ok)
            EXPECT_EQ(out.size(), c.size) << c.name;
        else
            EXPECT_EQ(out, (std::vector<uint8_t>{9, 9})) << c.name << ": output touched";
    }
}

TEST_F(SavedGameFileTest, AFailedSaveSaysWhyAndKeepsTheEarlierFile) {
    int error = 0;
    const std::string missing = (dir / "no" / "such" / "x.vsk").string();
    EXPECT_EQ(WriteSavedGame(missing, std::vector<uint8_t>{1}, &error), FileResult::OpenFailed);
    EXPECT_EQ(error, ENOENT);
    EXPECT_NE(SaveFailureText(missing, FileResult::OpenFailed, error).find(missing),
              std::string::npos);
    // A device that takes no bytes: every write fails, nothing is renamed over it.
    EXPECT_EQ(WriteSavedGame("/dev/full", std::vector<uint8_t>(100, 1), &error),
              FileResult::ShortWrite);
    EXPECT_EQ(error, ENOSPC);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));

    // A disk that fills up in the middle of a save (here a file size limit, in a
    // child process): the earlier file keeps its bytes and no temporary file stays.
    const std::string path = WriteRaw("earlier.vsk", 40);
    std::vector<uint8_t> before;
    ASSERT_EQ(ReadSavedGame(path, before), FileResult::Ok);
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
