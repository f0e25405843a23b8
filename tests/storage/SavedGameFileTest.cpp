#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
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

TEST_F(SavedGameFileTest, WritingWhereNoFileCanBeMadeFails) {
    EXPECT_EQ(WriteSavedGame((dir / "no" / "such" / "x.vsk").string(), std::vector<uint8_t>{1}),
              FileResult::OpenFailed);
}
