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
} // namespace

TEST(GameListModel, RootsAndImages) {
    EXPECT_STREQ(CGameListModel::RootText(CGameListModel::kWaitingRoot), "Waiting Games");
    EXPECT_STREQ(CGameListModel::RootText(CGameListModel::kActiveRoot), "Active Games");
    EXPECT_EQ(CGameListModel::DealerImage(CGameListModel::kWaitingRoot), 3);
    EXPECT_EQ(CGameListModel::DealerImage(CGameListModel::kActiveRoot), 5);
    EXPECT_EQ(CGameListModel::RootImage(), 1);
    EXPECT_EQ((CGameListModel::User{"a", true}.ImageIndex()), 2);
    EXPECT_EQ((CGameListModel::User{"a", false}.ImageIndex()), 4);
}

TEST(GameListModel, IgnoresAnswersWhileClosed) {
    CGameListModel m;
    EXPECT_EQ(m.Add(Answer(1, "a", false)).kind, CGameListModel::Change::Ignored);
    m.Open();
    m.Close();
    EXPECT_EQ(m.Add(Answer(1, "a", false)).kind, CGameListModel::Change::Ignored);
    EXPECT_TRUE(m.Dealers(CGameListModel::kWaitingRoot).empty());
}

TEST(GameListModel, FirstAnswerFillsTheEditBoxAndExpandsTheRoot) {
    CGameListModel m;
    m.Open();
    auto c = m.Add(Answer(1, "alpha", false, 3));
    EXPECT_EQ(c.kind, CGameListModel::Change::Added);
    EXPECT_TRUE(c.firstAnswer);
    EXPECT_TRUE(c.expandRoot);
    EXPECT_EQ(c.root, CGameListModel::kWaitingRoot);
    EXPECT_EQ(c.index, 0);
    EXPECT_EQ(c.dealer.users.size(), 3u);
    auto d = m.Add(Answer(2, "beta", false));
    EXPECT_FALSE(d.firstAnswer);
    EXPECT_FALSE(d.expandRoot);
    EXPECT_EQ(d.index, 1);
}

TEST(GameListModel, DuplicateAnswersAreListedOnce) {
    CGameListModel m;
    m.Open();
    m.Add(Answer(1, "alpha", false));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(m.Add(Answer(1, "alpha", false)).kind, CGameListModel::Change::Ignored);
    EXPECT_EQ(m.Dealers(CGameListModel::kWaitingRoot).size(), 1u);
}

TEST(GameListModel, DealerMovesBetweenRoots) {
    CGameListModel m;
    m.Open();
    m.Add(Answer(7, "alpha", false));
    m.Add(Answer(8, "beta", false));
    auto c = m.Add(Answer(7, "alpha", true, 4));
    EXPECT_EQ(c.kind, CGameListModel::Change::Added);
    EXPECT_TRUE(c.movedFrom);
    EXPECT_EQ(c.fromRoot, CGameListModel::kWaitingRoot);
    EXPECT_EQ(c.fromIndex, 0);
    EXPECT_EQ(c.root, CGameListModel::kActiveRoot);
    EXPECT_TRUE(c.expandRoot);
    ASSERT_EQ(m.Dealers(CGameListModel::kWaitingRoot).size(), 1u);
    EXPECT_EQ(m.Dealers(CGameListModel::kWaitingRoot)[0].host, "beta");
    ASSERT_EQ(m.Dealers(CGameListModel::kActiveRoot).size(), 1u);
    auto back = m.Add(Answer(7, "alpha", false));
    EXPECT_TRUE(back.movedFrom);
    EXPECT_EQ(back.fromRoot, CGameListModel::kActiveRoot);
    EXPECT_EQ(back.root, CGameListModel::kWaitingRoot);
    EXPECT_EQ(back.index, 1);
    EXPECT_TRUE(m.Dealers(CGameListModel::kActiveRoot).empty());
}

TEST(GameListModel, HostTextIsCutToForty) {
    CGameListModel m;
    m.Open();
    auto c = m.Add(Answer(1, std::string(60, 'h'), false));
    EXPECT_EQ(c.dealer.host.size(), 40u);
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

TEST(GameListModel, ReopeningStartsAfresh) {
    CGameListModel m;
    m.Open();
    m.Add(Answer(1, "a", false));
    m.Open();
    EXPECT_TRUE(m.Dealers(CGameListModel::kWaitingRoot).empty());
    EXPECT_TRUE(m.Add(Answer(1, "a", false)).firstAnswer);
}
