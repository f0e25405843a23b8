// Joining through the Select Computer dialog: requests broadcast to 127.255.255.255,
// the game moving between "Waiting Games" and "Active Games" in the dialog's model.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdlib>

#include "net/CGameListModel.h"
#include "net/Conn.h"
#include "net/NetLibrary.h"
#include "net/NetUi.h"
#include "tests/net/NetTestSupport.h"

using namespace nettest;

namespace {
// The library's dialogs, scripted: the welcome dialog asks to join as Eve, and
// the Select Computer dialog runs `selectComputer` while it is open.
class ScriptedUi : public INetUi {
public:
    bool WelcomeDialog(std::string& name, int& connType) override {
        name = "Eve";
        connType = 0;
        return true;
    }
    bool SelectComputer(const std::function<void()>& broadcast, uint32_t& address) override {
        model.Open();
        const bool ok = selectComputer(broadcast, address);
        model.Close();
        return ok;
    }
    void AddAnswer(const DiscoveryAnswer& answer) override { model.Add(answer); }
    void MessageBox(const std::string&) override {}
    void PumpMessages() override {}
    std::function<bool(const std::function<void()>&, uint32_t&)> selectComputer;
    CGameListModel model;
};
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
    ScriptedUi ui;
    // Broadcasts (a bounded number of times) until the game is listed under root only.
    auto listedUnder = [&](const std::function<void()>& broadcast, CGameListModel::Root root) {
        const auto other = root == CGameListModel::kWaitingRoot ? CGameListModel::kActiveRoot
                                                                : CGameListModel::kWaitingRoot;
        auto listed = [&] {
            auto d = ui.model.Dealers(root);
            return d.size() == 1 && d[0].host == "table-one" && ui.model.Dealers(other).empty();
        };
        for (int i = 0; i < 50; ++i) {
            broadcast();
            if (WaitUntil(listed, 200)) return true;
        }
        return false;
    };
    std::vector<bool> steps;
    ui.selectComputer = [&](const std::function<void()>& broadcast, uint32_t& address) {
        steps.push_back(listedUnder(broadcast, CGameListModel::kWaitingRoot));
        for (RawClient& p : players) { // everybody starts: the game becomes active
            p.Send(MakeU16Frame(p.id, kEverybody, NET_PLACESTATE,
                                static_cast<uint16_t>(0x8001 + p.id)));
            p.Expect(NET_PLACESTATE); // the echo: the dealer has stored it
        }
        steps.push_back(listedUnder(broadcast, CGameListModel::kActiveRoot));
        players[3].Close(); // somebody leaves: waiting again
        players[0].Expect(NET_DETACH);
        steps.push_back(listedUnder(broadcast, CGameListModel::kWaitingRoot));
        return ui.model.FindByHost("table-one", address);
    };
    SetNetUi(&ui);
    CConn::SetPort(port);
    QueueSink sink;
    CConn conn;
    EXPECT_EQ(conn.Init(&sink), 1);
    EXPECT_EQ(steps, std::vector<bool>(3, true));
    EXPECT_EQ(conn.m_nUserId, 3);
    EXPECT_STREQ(conn.m_szName, "Eve");
    conn.Done();
    SetNetUi(nullptr);
    EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
    CConn::SetPort(0);
    unsetenv("VESK_BROADCAST");
}
