// Joining through the Select Computer dialog: requests broadcast to
// 127.255.255.255, the dealer's answers listed in the dialog's model, the game
// moving between "Waiting Games" and "Active Games".
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdlib>
#include <cstring>

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

void SendState(RawClient& c, uint16_t state) {
    std::vector<uint8_t> f = MakeFrame(c.id, 0xFFFF, NET_PLACESTATE, 0, "", false);
    f.push_back(static_cast<uint8_t>(state));
    f.push_back(static_cast<uint8_t>(state >> 8));
    PutU32(f.data() + 12, 18);
    c.Send(f);
    c.ReadCommand(NET_PLACESTATE); // the echo: the dealer has stored it
}
} // namespace

TEST(DiscoveryFlow, GamesMoveBetweenWaitingAndActive) {
    setenv("VESK_BROADCAST", "127.255.255.255", 1);
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

    FakeNetUi ui;
    ui.welcomes = {{"Eve", 0}};
    using Root = CGameListModel::Root;
    auto listed = [&](Root root) {
        auto d = ui.model.Dealers(root);
        return d.size() == 1 && d[0].host == "table-one";
    };
    bool waitingFirst = false, movedToActive = false, waitingEmptied = false, movedBack = false;
    size_t usersListed = 0;
    ui.selectComputer = [&](const std::function<void()>& broadcast, uint32_t& address) {
        waitingFirst =
            BroadcastUntil(broadcast, [&] { return listed(CGameListModel::kWaitingRoot); });
        if (waitingFirst)
            usersListed = ui.model.Dealers(CGameListModel::kWaitingRoot)[0].users.size();
        for (int i = 0; i < 4; ++i)
            SendState(players[i], static_cast<uint16_t>(0x8001 + i));
        movedToActive =
            BroadcastUntil(broadcast, [&] { return listed(CGameListModel::kActiveRoot); });
        waitingEmptied = ui.model.Dealers(CGameListModel::kWaitingRoot).empty();
        players[3].Close();
        players[0].ReadCommand(NET_DETACH);
        movedBack = BroadcastUntil(broadcast, [&] { return listed(CGameListModel::kWaitingRoot); });
        return ui.model.FindByHost("table-one", address);
    };
    UiScope scope(&ui);
    CConn::SetPort(port);
    QueueSink sink;
    CConn conn;
    EXPECT_EQ(conn.Init(&sink), 1);
    EXPECT_TRUE(waitingFirst);
    EXPECT_EQ(usersListed, 4u);
    EXPECT_TRUE(movedToActive);
    EXPECT_TRUE(waitingEmptied);
    EXPECT_TRUE(movedBack);
    EXPECT_TRUE(ui.model.Dealers(CGameListModel::kActiveRoot).empty());
    EXPECT_EQ(conn.m_nUserId, 3);
    EXPECT_STREQ(conn.m_szName, "Eve");
    conn.Done();
    EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
    CConn::SetPort(0);
    unsetenv("VESK_BROADCAST");
}

TEST(DiscoveryFlow, CancelledDialogLeavesNothingRunning) {
    setenv("VESK_BROADCAST", "127.255.255.255", 1);
    FakeNetUi ui;
    ui.welcomes = {{"Eve", 0}};
    ui.selectComputer = [](const std::function<void()>& broadcast, uint32_t&) {
        broadcast();
        return false;
    };
    UiScope scope(&ui);
    CConn::SetPort(FreePortPair());
    QueueSink sink;
    CConn conn;
    EXPECT_EQ(conn.Init(&sink), 0);
    EXPECT_EQ(ui.welcomeCalls, 2u);
    EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
    CConn::SetPort(0);
    unsetenv("VESK_BROADCAST");
}
