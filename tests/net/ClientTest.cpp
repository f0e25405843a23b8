// The connection object as the program uses it: Init, the notifications, sending,
// the busy probe, Synchro, a lost dealer and the login reply. One CConn per process.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "net/ClientLink.h"
#include "net/Conn.h"
#include "net/NetLibrary.h"
#include "tests/net/NetTestSupport.h"

using namespace nettest;

namespace {
std::string Name(int i) {
    return std::string(g_UsersList[i].name, strnlen(g_UsersList[i].name, 20));
}

// Every test leaves the library as it found it.
class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        isBusy = 0;
        std::memset(g_UsersList, 0, sizeof g_UsersList);
    }
    void TearDown() override {
        conn.Done();
        EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
        CConn::SetPort(0);
        isBusy = 0;
    }
    // Joins the dealer on `port` at 127.0.0.1 as `name`.
    int Join(uint16_t port, const std::string& name, HWND window, int connType = 0,
             const char* host = "127.0.0.1") {
        CConn::SetPort(port);
        ConnChoices c;
        c.name = name;
        c.connType = connType;
        c.dealerHost = host;
        conn.SetChoices(c);
        return conn.Init(window);
    }
    // A raw client "Ann" (id 0) at the dealer, and this program joined as "Bob" (id 1).
    void AnnAndBob(TestDealer& d, RawClient& ann, QueueSink& window) {
        ASSERT_TRUE(d.Start());
        ASSERT_TRUE(ann.Connect(d.Port()));
        ASSERT_EQ(ann.Login("Ann"), 0);
        ASSERT_EQ(Join(d.Port(), "Bob", &window), 1);
        ASSERT_EQ(conn.m_nUserId, 1);
    }
    // The program's window outlives Done, as in the program.
    QueueSink sink;
    QueueSink heldSink{false};
    CConn conn;
};
} // namespace

TEST_F(ClientTest, DealerInitConnectsToItselfAndAnnouncesItself) {
    ASSERT_EQ(Join(FreePortPair(), "", &sink, 1), 1); // empty name: plays as Player
    EXPECT_EQ(conn.m_nUserId, 0);
    EXPECT_STREQ(conn.m_szName, "Player");
    EXPECT_NE(conn.IcantExit(), 0);
    auto first = sink.WaitFor([](const Notice&) { return true; });
    ASSERT_TRUE(first);
    EXPECT_EQ(first->command, NET_ATTACH);
    EXPECT_EQ(first->user, 0);
    EXPECT_EQ(first->text, "Player");
    EXPECT_EQ(g_UsersList[0].owner, 0);
    RawClient other;
    ASSERT_TRUE(other.Connect(CNetLibrary::Instance().TcpPort()));
    ASSERT_EQ(other.Login("Player"), 1);
    ASSERT_TRUE(other.Send(MakeFrame(1, 0xFFFF, NET_ATTACH, 0, "Player_1")));
    auto attach = sink.WaitForCommand(NET_ATTACH);
    ASSERT_TRUE(attach);
    EXPECT_EQ(attach->user, 1);
    EXPECT_EQ(Name(1), "Player_1");
    conn.Done();
    auto detach = other.ReadCommand(NET_DETACH);
    ASSERT_TRUE(detach) << "our leave notice went out before the dealer closed";
    EXPECT_EQ(TextOf(*detach), "Player");
    EXPECT_TRUE(other.WaitClosed());
    EXPECT_EQ(Name(0), "");
}

TEST_F(ClientTest, SendingCountsAndEchoes) {
    TestDealer d;
    RawClient a;
    AnnAndBob(d, a, sink);
    conn.BroadcastCmd(-1, 9, "card", -1);
    auto echo = sink.WaitForCommand(9, 0);
    ASSERT_TRUE(echo) << "the echo was waited for: it is already in the queue";
    EXPECT_EQ(echo->text, "card");
    EXPECT_EQ(echo->user, 1);
    auto atA = a.ReadCommand(9);
    ASSERT_TRUE(atA);
    EXPECT_EQ(HeaderOf(*atA).seq, 0u);
    // Ann sends with her count (1); we then send with seq 2.
    ASSERT_TRUE(a.Send(MakeFrame(0, 0xFFFF, 10, a.counted, "from ann")));
    ASSERT_TRUE(sink.WaitForCommand(10));
    // For our computer partner 5 (user 105), once it is seated.
    conn.BroadcastCmd(-1, NET_ADDAUTO, "\x05", -1);
    conn.BroadcastCmd(-1, 11, "again", 105);
    atA = a.ReadCommand(11);
    ASSERT_TRUE(atA);
    EXPECT_EQ(HeaderOf(*atA).seq, 3u);
    EXPECT_EQ(HeaderOf(*atA).from, 105);
    conn.BroadcastCmd(-1, 1, "chat", -1); // not counted
    conn.BroadcastCmd(-1, 12, "after chat", -1);
    atA = a.ReadCommand(12);
    ASSERT_TRUE(atA);
    EXPECT_EQ(HeaderOf(*atA).seq, 4u);
    // To one user: no echo is waited for.
    conn.BroadcastCmd(0, 13, "only ann", -1);
    atA = a.ReadCommand(13);
    ASSERT_TRUE(atA);
    EXPECT_EQ(HeaderOf(*atA).to, 0);
    EXPECT_FALSE(sink.WaitForCommand(13, 100));
    conn.SetPlaceState(static_cast<short>(0x8001), -1);
    auto state = sink.WaitForCommand(NET_PLACESTATE);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->value, -32767) << "sign-extended";
    EXPECT_FALSE(state->hadString);
}

TEST_F(ClientTest, BusyProbeIsAnsweredWithOwnCount) {
    TestDealer d;
    RawClient a;
    AnnAndBob(d, a, heldSink); // the program has handled nothing yet
    ASSERT_TRUE(WaitUntil([&] { return heldSink.Count() == 2; }));
    ASSERT_TRUE(a.Send(MakeFrame(0, 0xFFFF, NET_ATTACH, 0, "")));
    auto reply = a.ReadCommand(NET_SYNCREPLY);
    ASSERT_TRUE(reply);
    EXPECT_EQ(HeaderOf(*reply).to, 0);
    EXPECT_EQ(HeaderOf(*reply).from, 1);
    EXPECT_EQ(GetU16(reply->data() + 16), 2);
    EXPECT_EQ(heldSink.Count(), 2u) << "the probe itself is not posted";
}

TEST_F(ClientTest, ChatLinesAreNotBusyAndOnlyTheOwnLineEndsTheWaitForAnEcho) {
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    CConnSocket ep(fds[0], CConnSocket::SendMode::Wait);
    ep.m_userId = 1;
    ep.m_window = &heldSink;
    ep.m_waitEvent = std::make_unique<ManualResetEvent>();
    for (uint16_t from : {0, 1}) {
        const std::vector<uint8_t> line = MakeFrame(from, 0xFFFF, CMD_CHAT_CODE, 0, "hi");
        ASSERT_EQ(write(fds[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
        ASSERT_EQ(ep.ReadFrame(), CConnSocket::ReadStatus::Frame);
        CClientLink::Dispatch(ep);
        EXPECT_EQ(ep.m_waitEvent->IsSet(), from == 1) << from;
    }
    EXPECT_EQ(heldSink.Count(), 2u);
    EXPECT_EQ(isBusy.load(), 0);
    close(fds[1]);
}

TEST_F(ClientTest, LostDealerPostsDetachForEveryNamedUser) {
    TestDealer d;
    ASSERT_TRUE(d.Start());
    RawClient a;
    ASSERT_TRUE(a.Connect(d.Port()));
    ASSERT_EQ(a.Login("Ann"), 0);
    ASSERT_TRUE(a.Send(MakeFrame(0, 0xFFFF, NET_ADDAUTO, 0, "\x01", false)));
    ASSERT_TRUE(a.ReadCommand(NET_ADDAUTO));
    ASSERT_EQ(Join(d.Port(), "Bob", &sink), 1);
    ASSERT_TRUE(
        sink.WaitFor([](const Notice& n) { return n.command == NET_ATTACH && n.user == 1; }));
    d.Stop();
    std::vector<uint16_t> gone;
    for (int i = 0; i < 3; ++i) {
        auto n = sink.WaitForCommand(NET_DETACH);
        ASSERT_TRUE(n) << i;
        gone.push_back(n->user);
    }
    EXPECT_EQ(gone, (std::vector<uint16_t>{0, 1, 101}));
    ASSERT_TRUE(WaitUntil([] { return !CNetLibrary::Instance().m_client; }));
    EXPECT_EQ(Name(0), "Ann") << "the list is left as it was";
    const size_t before = sink.Count();
    conn.BroadcastCmd(-1, 9, "nobody hears", -1);
    conn.SetPlaceState(1, -1);
    EXPECT_EQ(conn.Synchro(), 0);
    EXPECT_EQ(sink.Count(), before);
}

TEST_F(ClientTest, LoginReplyOfTheWrongSizeVersionCommandOrIdFails) {
    std::vector<uint8_t> reply(6686, 0);
    FrameHeader h;
    h.command = NET_LOGIN;
    const std::vector<uint8_t> payload(6670, 0);
    EncodeFrame(reply.data(), h, payload.data(), payload.size());
    EXPECT_EQ(CClientLink::TakeLoginReply(reply.data(), reply.size()), 0);
    EXPECT_EQ(CClientLink::TakeLoginReply(reply.data(), 6685), -1);
    // Version, command, id, and a length field short of the bytes read.
    const std::pair<int, uint16_t> changes[] = {{6, 1009}, {4, 9}, {16, 255}, {12, 6680}};
    for (const auto& [offset, value] : changes) {
        std::vector<uint8_t> bad = reply;
        PutU16(bad.data() + offset, value);
        EXPECT_EQ(CClientLink::TakeLoginReply(bad.data(), bad.size()), -1) << offset;
    }
}

namespace {
// A window that keeps every notification unhandled, as a program busy elsewhere.
class HoldingSink : public IMessageSink {
public:
    ~HoldingSink() override {
        for (const auto& [w, l] : held)
            if ((w >> 16) != NET_PLACESTATE) DeleteCString(reinterpret_cast<CString*>(l));
    }
    void PostMessage(uint32_t, uintptr_t wParam, intptr_t lParam) override {
        std::lock_guard<std::mutex> lock(mutex);
        held.emplace_back(wParam, lParam);
    }
    int Count(uint16_t command) {
        std::lock_guard<std::mutex> lock(mutex);
        int n = 0;
        for (const auto& m : held)
            n += (m.first >> 16) == command ? 1 : 0;
        return n;
    }
    std::mutex mutex;
    std::vector<std::pair<uintptr_t, intptr_t>> held;
};
} // namespace

TEST_F(ClientTest, ChatBeyondTheQueueBoundIsDroppedButGameCommandsAreNot) {
    CDealerServer::s_budgets = false; // the whole flood reaches this program
    TestDealer d;
    RawClient ann;
    HoldingSink window;
    ASSERT_TRUE(d.Start());
    ASSERT_TRUE(ann.Connect(d.Port()));
    ASSERT_EQ(ann.Login("Ann"), 0);
    ASSERT_EQ(Join(d.Port(), "Bob", &window), 1);
    for (int i = 0; i < 2 * CNetLibrary::kMaxQueuedForChat; ++i)
        ASSERT_TRUE(ann.Send(MakeFrame(0, 0xFFFF, CMD_CHAT_CODE, 0, "spam")));
    ASSERT_TRUE(ann.Send(MakeFrame(0, 0xFFFF, 9, 0, "card")));
    ASSERT_TRUE(WaitUntil([&] { return window.Count(9) == 1; }));
    EXPECT_GT(window.Count(CMD_CHAT_CODE), 0);
    EXPECT_LE(static_cast<int>(window.held.size()), CNetLibrary::kMaxQueuedForChat + 1);
    EXPECT_EQ(static_cast<int>(CNetLibrary::s_droppedChat.load()),
              2 * CNetLibrary::kMaxQueuedForChat - window.Count(CMD_CHAT_CODE));
    conn.Done();
}
