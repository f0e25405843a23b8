// The Select Computer dialog's list of games, without widgets.
#include <gtest/gtest.h>

#include "net/CGameListModel.h"

namespace {
DiscoveryAnswer Answer(uint32_t address, const std::string& host, bool active, int users = 2) {
    DiscoveryAnswer a;
    a.address = address;
    a.host = host;
    a.active = active;
    for (int i = 0; i < users; ++i)
        a.users.push_back({"U" + std::to_string(i), i % 2 == 0});
    return a;
}
constexpr auto kWaiting = CGameListModel::kWaitingRoot;
constexpr auto kActive = CGameListModel::kActiveRoot;
} // namespace

TEST(GameListModel, ListsAnswersOnlyWhileOpenAndOnce) {
    CGameListModel m;
    EXPECT_EQ(m.Add(Answer(1, "a", false)).kind, CGameListModel::Change::Ignored);
    m.Open();
    auto c = m.Add(Answer(1, "alpha", false, 3));
    EXPECT_EQ(c.kind, CGameListModel::Change::Added);
    EXPECT_TRUE(c.firstAnswer) << "the first answer fills the edit box";
    EXPECT_TRUE(c.expandRoot);
    EXPECT_EQ(c.root, kWaiting);
    EXPECT_EQ(c.dealer.users.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.Add(Answer(1, "alpha", false)).kind, CGameListModel::Change::Ignored);
    auto d = m.Add(Answer(2, std::string(60, 'h'), false));
    EXPECT_FALSE(d.firstAnswer);
    EXPECT_FALSE(d.expandRoot);
    EXPECT_EQ(d.index, 1);
    EXPECT_EQ(d.dealer.host.size(), 40u);
    m.Open(); // reopening starts afresh
    EXPECT_TRUE(m.Dealers(kWaiting).empty());
    EXPECT_TRUE(m.Add(Answer(1, "a", false)).firstAnswer);
    m.Close();
    EXPECT_EQ(m.Add(Answer(3, "b", false)).kind, CGameListModel::Change::Ignored);
}

TEST(GameListModel, DealerMovesBetweenRoots) {
    CGameListModel m;
    m.Open();
    m.Add(Answer(7, "alpha", false));
    m.Add(Answer(8, "beta", false));
    auto c = m.Add(Answer(7, "alpha", true, 4));
    EXPECT_EQ(c.kind, CGameListModel::Change::Added);
    EXPECT_TRUE(c.movedFrom);
    EXPECT_EQ(c.fromRoot, kWaiting);
    EXPECT_EQ(c.fromIndex, 0);
    EXPECT_EQ(c.root, kActive);
    EXPECT_TRUE(c.expandRoot);
    ASSERT_EQ(m.Dealers(kWaiting).size(), 1u);
    EXPECT_EQ(m.Dealers(kWaiting)[0].host, "beta");
    auto back = m.Add(Answer(7, "alpha", false));
    EXPECT_TRUE(back.movedFrom);
    EXPECT_EQ(back.fromRoot, kActive);
    EXPECT_EQ(back.index, 1);
    EXPECT_TRUE(m.Dealers(kActive).empty());
}

TEST(GameListModel, FindByHostPrefersWaitingGames) {
    CGameListModel m;
    m.Open();
    m.Add(Answer(1, "same", true));
    m.Add(Answer(2, "same", false));
    uint32_t address = 0;
    ASSERT_TRUE(m.FindByHost("same", address));
    EXPECT_EQ(address, 2u);
    EXPECT_FALSE(m.FindByHost("Same", address));
}
