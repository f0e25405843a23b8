#include <gtest/gtest.h>

#include <vector>

#include "app/CReplaySnapshots.h"
#include "rules/GameState.h"

namespace {

RecordPtr Rec(uint8_t tag) {
    const uint8_t bytes[3] = {0x30, 1, tag};
    return CRecordBuffer::FromBytes(bytes);
}

} // namespace

TEST(ReplaySnapshots, UndoStepsBackRedoForthAndANewSnapshotDropsWhatRedoCouldReach) {
    CReplaySnapshots snaps;
    std::vector<uint8_t> applied;
    const CReplaySnapshots::Apply apply = [&](std::span<const uint8_t> r) {
        applied.push_back(r[2]);
        EXPECT_EQ(g_bReplaying, 1);
    };
    for (uint8_t tag : {1, 2, 2, 3}) // an equal snapshot is not kept twice
        snaps.Record(Rec(tag));
    EXPECT_EQ(snaps.Index(), 2);
    EXPECT_TRUE(snaps.Undo(apply));
    EXPECT_TRUE(snaps.Undo(apply));
    EXPECT_TRUE(snaps.Undo(apply)); // stays at the first
    EXPECT_EQ(applied, (std::vector<uint8_t>{2, 1, 1}));
    EXPECT_TRUE(snaps.Redo(apply));
    EXPECT_EQ(applied.back(), 2);
    EXPECT_EQ(g_bReplaying, 0);
    snaps.Record(Rec(9));
    EXPECT_EQ(snaps.Index(), 2);
    EXPECT_EQ(snaps.Slot(3), nullptr);
    EXPECT_FALSE(snaps.Redo(apply));
}
