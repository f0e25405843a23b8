// Joining through the Select Computer dialog: requests broadcast to
// 127.255.255.255, the dealer's answers listed in the dialog's model, the game
// moving between "Waiting Games" and "Active Games".
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdlib>

#include "net/Conn.h"
#include "net/NetLibrary.h"
#include "tests/net/FakeNetUi.h"
#include "tests/net/NetTestSupport.h"

using namespace nettest;

namespace {
// Broadcasts until cond holds; bounded.
bool BroadcastUntil(const std::function<void()>& broadcast, const std::function<bool()>& cond) {
    for (int i = 0; i < 50; ++i) {
        broadcast();
        if (WaitUntil(cond, 200)) return true;
    }
    return false;
}

class DiscoveryFlow : public ::testing::Test {
protected:
    void SetUp() override { setenv("VESK_BROADCAST", "127.255.255.255", 1); }
    void TearDown() override {
        conn.Done();
        EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
        CConn::SetPort(0);
        unsetenv("VESK_BROADCAST");
    }
    FakeNetUi ui;
    QueueSink sink;
    CConn conn;
};
} // namespace

TEST_F(DiscoveryFlow, GamesMoveBetweenWaitingAndActive) {
    ASSERT_EQ(CNetLibrary::BroadcastAddress(), inet_addr("127.255.255.255"));
    const uint16_t port = FreePortPair();
    TestDealer dealer;
    dealer.Server().SetHostName("table-one");
    ASSERT_TRUE(dealer.Start(port, static_cast<uint16_t>(port + 1))) << dealer.error;
    RawClient players[4];
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(players[i].Connect(port));
        ASSERT_EQ(players[i].Login("P" + std::to_string(i)), i);
    }
    ui.welcomes = {{"Eve", 0}};
    auto listed = [&](CGameListModel::Root root) {
        auto d = ui.model.Dealers(root);
        return d.size() == 1 && d[0].host == "table-one";
    };
    std::vector<bool> steps;
    size_t usersListed = 0;
    ui.selectComputer = [&](const std::function<void()>& broadcast, uint32_t& address) {
        steps.push_back(
            BroadcastUntil(broadcast, [&] { return listed(CGameListModel::kWaitingRoot); }));
        if (steps.back())
            usersListed = ui.model.Dealers(CGameListModel::kWaitingRoot)[0].users.size();
        for (int i = 0; i < 4; ++i) { // everybody starts: the game becomes active
            players[i].Send(MakeU16Frame(players[i].id, 0xFFFF, NET_PLACESTATE,
                                         static_cast<uint16_t>(0x8001 + i)));
            players[i].ReadCommand(NET_PLACESTATE); // the echo: the dealer has stored it
        }
        steps.push_back(
            BroadcastUntil(broadcast, [&] { return listed(CGameListModel::kActiveRoot); }));
        steps.push_back(ui.model.Dealers(CGameListModel::kWaitingRoot).empty());
        players[3].Close(); // somebody leaves: waiting again
        players[0].ReadCommand(NET_DETACH);
        steps.push_back(
            BroadcastUntil(broadcast, [&] { return listed(CGameListModel::kWaitingRoot); }));
        steps.push_back(ui.model.Dealers(CGameListModel::kActiveRoot).empty());
        return ui.model.FindByHost("table-one", address);
    };
    UiScope scope(&ui);
    CConn::SetPort(port);
    EXPECT_EQ(conn.Init(&sink), 1);
    EXPECT_EQ(steps, std::vector<bool>(5, true));
    EXPECT_EQ(usersListed, 4u);
    EXPECT_EQ(conn.m_nUserId, 3);
    EXPECT_STREQ(conn.m_szName, "Eve");
}
