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
} // namespace

TEST(GameListModel, ListsAnswersOnlyWhileOpenAndOnce) {
    CGameListModel m;
    EXPECT_EQ(m.Add(Answer(1, "a", false)).kind, CGameListModel::Change::Ignored);
    m.Open();
    auto c = m.Add(Answer(1, "alpha", false, 3));
    EXPECT_EQ(c.kind, CGameListModel::Change::Added);
    EXPECT_TRUE(c.firstAnswer) << "the first answer fills the edit box";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.Add(Answer(1, "alpha", false)).kind, CGameListModel::Change::Ignored);
    auto d = m.Add(Answer(2, std::string(60, 'h'), false));
    EXPECT_FALSE(d.firstAnswer);
    EXPECT_EQ(d.dealer.host.size(), 40u);
    m.Open(); // reopening starts afresh
    EXPECT_TRUE(m.Dealers(kWaiting).empty());
    EXPECT_TRUE(m.Add(Answer(1, "a", false)).firstAnswer);
    m.Close();
    EXPECT_EQ(m.Add(Answer(3, "b", false)).kind, CGameListModel::Change::Ignored);
}
