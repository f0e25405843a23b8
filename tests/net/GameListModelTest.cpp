// The Select Computer dialog's list of games, without widgets.
#include <gtest/gtest.h>

#include "net/CGameListModel.h"

TEST(GameListModel, ListsAnswersOnlyWhileOpenAndOnce) {
    const DiscoveryAnswer answer{1, "alpha", false, {{"U0", true}}};
    CGameListModel m;
    EXPECT_EQ(m.Add(answer).kind, CGameListModel::Change::Ignored);
    m.Open();
    EXPECT_EQ(m.Add(answer).kind, CGameListModel::Change::Added);
    EXPECT_EQ(m.Add(answer).kind, CGameListModel::Change::Ignored);
    m.Open(); // reopening starts afresh
    EXPECT_TRUE(m.Dealers(CGameListModel::kWaitingRoot).empty());
    EXPECT_TRUE(m.Add(answer).firstAnswer);
    m.Close();
    EXPECT_EQ(m.Add(DiscoveryAnswer{3, "b", false, {}}).kind, CGameListModel::Change::Ignored);
}
