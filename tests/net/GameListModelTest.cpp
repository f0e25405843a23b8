// The Select Computer dialog's list of games, without widgets.
#include <gtest/gtest.h>

#include "net/CGameListModel.h"

namespace {
DiscoveryAnswer Answer(uint32_t address, const std::string& host) {
    return DiscoveryAnswer{address, host, false, {{"U0", true}, {"U1", false}}};
}
constexpr auto kWaiting = CGameListModel::kWaitingRoot;
} // namespace

TEST(GameListModel, ListsAnswersOnlyWhileOpenAndOnce) {
    CGameListModel m;
    EXPECT_EQ(m.Add(Answer(1, "a")).kind, CGameListModel::Change::Ignored);
    m.Open();
    auto c = m.Add(Answer(1, "alpha"));
    EXPECT_EQ(c.kind, CGameListModel::Change::Added);
    EXPECT_TRUE(c.firstAnswer) << "the first answer fills the edit box";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.Add(Answer(1, "alpha")).kind, CGameListModel::Change::Ignored);
    auto d = m.Add(Answer(2, std::string(60, 'h')));
    EXPECT_FALSE(d.firstAnswer);
    EXPECT_EQ(d.dealer.host.size(), 40u);
    m.Open(); // reopening starts afresh
    EXPECT_TRUE(m.Dealers(kWaiting).empty());
    EXPECT_TRUE(m.Add(Answer(1, "a")).firstAnswer);
    m.Close();
    EXPECT_EQ(m.Add(Answer(3, "b")).kind, CGameListModel::Change::Ignored);
}
