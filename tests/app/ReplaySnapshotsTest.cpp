#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/CReplaySnapshots.h"
#include "net/UsersList.h"
#include "rules/GameState.h"

namespace {

RecordPtr Rec(uint8_t tag) {
    const uint8_t bytes[3] = {0x30, 1, tag};
    return CRecordBuffer::FromBytes(bytes);
}

class ReplaySnapshotsTest : public ::testing::Test {
protected:
    CReplaySnapshots snaps;
    std::vector<uint8_t> applied;
    CReplaySnapshots::Apply apply = [this](std::span<const uint8_t> r) {
        applied.push_back(r[2]);
        EXPECT_EQ(g_bReplaying, 1);
    };
    void SetUp() override { std::memset(g_UsersList, 0, sizeof g_UsersList); }
    void TearDown() override { std::memset(g_UsersList, 0, sizeof g_UsersList); }
    static void Human(int id, const char* name) {
        g_UsersList[id].owner = static_cast<uint16_t>(id);
        std::strncpy(g_UsersList[id].name, name, 19);
    }
};

} // namespace

TEST_F(ReplaySnapshotsTest, UndoStepsBackAndRedoForth) {
    snaps.Record(Rec(1));
    snaps.Record(Rec(2));
    snaps.Record(Rec(3));
    EXPECT_EQ(snaps.Index(), 2);
    EXPECT_TRUE(snaps.Undo(apply));
    EXPECT_TRUE(snaps.Undo(apply));
    EXPECT_TRUE(snaps.Undo(apply)); // stays at the first
    EXPECT_EQ(applied, (std::vector<uint8_t>{2, 1, 1}));
    EXPECT_TRUE(snaps.Redo(apply));
    EXPECT_EQ(applied.back(), 2);
    EXPECT_EQ(g_bReplaying, 0);
    // A new snapshot drops what Redo could still reach.
    snaps.Record(Rec(9));
    EXPECT_EQ(snaps.Index(), 2);
    EXPECT_EQ(snaps.Slot(3), nullptr);
    EXPECT_FALSE(snaps.Redo(apply));
}

TEST_F(ReplaySnapshotsTest, EqualSnapshotIsNotKeptTwice) {
    snaps.Record(Rec(1));
    snaps.Record(Rec(1));
    EXPECT_EQ(snaps.Slot(1), nullptr);
    snaps.Record(Rec(2));
    EXPECT_EQ(snaps.Index(), 1);
    ASSERT_NE(snaps.Slot(1), nullptr);
    EXPECT_EQ(snaps.Slot(1)->Data()[2], 2);
}

TEST_F(ReplaySnapshotsTest, FullListDropsTheOldest) {
    for (int i = 0; i < 250; ++i)
        snaps.Record(Rec(static_cast<uint8_t>(i)));
    EXPECT_EQ(snaps.Index(), 198);
    EXPECT_EQ(snaps.Slot(198)->Data()[2], 249);
    EXPECT_EQ(snaps.Slot(0)->Data()[2], 249 - 198);
    EXPECT_EQ(snaps.Slot(199), nullptr);
}

TEST_F(ReplaySnapshotsTest, OfferedOnlyToALonePlayerWithThePrefix) {
    snaps.Record(Rec(1));
    Human(0, "Nuvola");
    EXPECT_TRUE(snaps.CanUndo());
    g_UsersList[101].owner = 0; // a computer partner does not count
    std::strncpy(g_UsersList[101].name, "Ivla", 19);
    EXPECT_TRUE(snaps.CanUndo());
    Human(1, "Bob");
    EXPECT_FALSE(snaps.CanUndo());
    std::memset(&g_UsersList[1], 0, sizeof(USERINFO));
    std::strncpy(g_UsersList[0].name, "nuvola", 19); // compared case-sensitively
    EXPECT_FALSE(snaps.CanUndo());
}
