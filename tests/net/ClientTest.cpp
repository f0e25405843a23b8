// The connection object as the program uses it: sending, the busy probe,
// Synchro, a lost dealer and the login reply. One CConn per process.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>
#include <vector>
#include <tuple>

#include "net/ClientLink.h"
#include "net/Conn.h"
#include "net/NetLibrary.h"
#include "tests/net/NetTestSupport.h"

using namespace nettest;

namespace {
// Every test leaves the library as it found it. A dealer runs for each test.
class ClientTest : public DealerTest {
protected:
    void SetUp() override {
        DealerTest::SetUp();
        isBusy = 0;
        std::memset(g_UsersList, 0, sizeof g_UsersList);
    }
    void TearDown() override {
        conn.Done();
        EXPECT_EQ(CNetLibrary::Instance().m_running.load(), 0);
        CConn::SetPort(0);
        isBusy = 0;
    }
    // Starts this program as `name`, joining the dealer at 127.0.0.1.
    int Enter(const std::string& name, HWND window) {
        CConn::SetPort(dealer.Port());
        conn.SetChoices(ConnChoices{.name = name, .connType = 0, .dealerHost = "127.0.0.1"});
        return conn.Init(window);
    }
    // A raw client "Ann" (id 0) at the dealer, and this program joined as "Bob" (id 1).
    void AnnAndBob(HWND window) {
        ASSERT_TRUE(ann.Connect(dealer.Port()));
        ASSERT_EQ(ann.Login("Ann"), 0);
        ASSERT_EQ(Enter("Bob", window), 1);
    }
    RawClient ann;
    // The program's window outlives Done, as in the program.
    QueueSink sink;
    QueueSink heldSink{false};
    CConn conn;
};
} // namespace

TEST_F(ClientTest, SendingCountsTheSequenceAndSynchroCountsThePeersBacklog) {
    AnnAndBob(&sink);
    conn.BroadcastCmd(-1, 9, "card", -1);
    EXPECT_EQ(sink.Expect(9, 0).user, 1); // the echo is waited for: it is already queued
    EXPECT_EQ(ann.Expect(9).h.seq, 0u);
    ASSERT_TRUE(ann.Send(MakeFrame(0, kEverybody, 10, ann.counted, "from ann")));
    sink.Expect(10);
    conn.BroadcastCmd(-1, CMD_CHAT_CODE, "chat", -1); // not counted
    // For our computer partner 5 (user 105), once it is seated.
    conn.BroadcastCmd(-1, NET_ADDAUTO, "\x05", -1);
    conn.BroadcastCmd(-1, 11, "again", 105);
    const Got again = ann.Expect(11);
    EXPECT_EQ(std::tuple(again.h.seq, again.h.from), std::tuple(3u, uint16_t{105}));
    conn.SetPlaceState(static_cast<short>(0x8001), -1);
    EXPECT_EQ(sink.Expect(NET_PLACESTATE).value, -32767) << "sign-extended";
    std::thread annAnswers([&] {
        if (ann.Expect(NET_ATTACH).text.empty()) ann.Send(MakeU16Frame(0, 1, NET_SYNCREPLY, 3));
    });
    EXPECT_EQ(conn.Synchro(), 3);
    annAnswers.join();
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
    EXPECT_EQ(heldSink.Count(), 2);
    EXPECT_EQ(isBusy.load(), 0);
    close(fds[1]);
}

TEST_F(ClientTest, LostDealerPostsDetachForEveryNamedUser) {
    ASSERT_TRUE(ann.Connect(dealer.Port()));
    ASSERT_EQ(ann.Login("Ann"), 0);
    ASSERT_TRUE(ann.Send(MakeFrame(0, kEverybody, NET_ADDAUTO, 0, "\x01", false)));
    ann.Expect(NET_ADDAUTO);
    ASSERT_EQ(Enter("Bob", &sink), 1);
    ASSERT_TRUE(
        sink.WaitFor([](const Notice& n) { return n.command == NET_ATTACH && n.user == 1; }));
    dealer.Stop();
    std::vector<uint16_t> gone;
    for (int i = 0; i < 3; ++i)
        gone.push_back(sink.Expect(NET_DETACH).user);
    EXPECT_EQ(gone, (std::vector<uint16_t>{0, 1, 101}));
    ASSERT_TRUE(WaitUntil([] { return !CNetLibrary::Instance().m_client; }));
    EXPECT_STREQ(g_UsersList[0].name, "Ann") << "the list is left as it was";
    const int before = sink.Count();
    conn.BroadcastCmd(-1, 9, "nobody hears", -1);
    conn.SetPlaceState(1, -1);
    EXPECT_EQ(conn.Synchro(), 0);
    EXPECT_EQ(sink.Count(), before);
}

TEST_F(ClientTest, LoginReplyOfTheWrongSizeVersionCommandOrIdFails) {
    std::vector<uint8_t> reply(kLoginReplySize, 0);
    const std::vector<uint8_t> payload(kLoginReplySize - kHeaderSize, 0);
    EncodeFrame(reply.data(), FrameHeader{0, 0, NET_LOGIN}, payload.data(), payload.size());
    EXPECT_EQ(CClientLink::TakeLoginReply(reply.data(), reply.size()), 0);
    EXPECT_EQ(CClientLink::TakeLoginReply(reply.data(), reply.size() - 1), -1);
    // Version, command, id, and a length field short of the bytes read.
    const std::pair<int, uint16_t> changes[] = {
        {6, kFrameVersion + 1}, {4, 9}, {16, kMaxUsers}, {12, kLoginReplySize - 6}};
    for (const auto& [offset, value] : changes) {
        std::vector<uint8_t> bad = reply;
        PutU16(bad.data() + offset, value);
        EXPECT_EQ(CClientLink::TakeLoginReply(bad.data(), bad.size()), -1) << offset;
    }
}

TEST_F(ClientTest, BusyProgramAnswersTheProbeAndDropsChatBeyondTheQueueBound) {
    CDealerServer::s_budgets = false; // the whole flood reaches this program
    AnnAndBob(&heldSink);             // a program busy elsewhere: nothing gets handled
    ASSERT_TRUE(WaitUntil([&] { return heldSink.Count() == 2; }));
    ASSERT_TRUE(ann.Send(MakeFrame(0, kEverybody, NET_ATTACH, 0, ""))); // the busy probe
    const Got reply = ann.Expect(NET_SYNCREPLY);
    EXPECT_EQ(std::tuple(reply.h.from, reply.h.to, reply.U16()), std::tuple(1, 0, 2))
        << "answered to the prober: the two attach notices are unhandled";
    EXPECT_EQ(heldSink.Count(), 2) << "the probe itself is not posted";
    // Chat beyond the bound of queued texts is dropped; game commands are not.
    for (int i = 0; i < 2 * CNetLibrary::kMaxQueuedForChat; ++i)
        ASSERT_TRUE(ann.Send(MakeFrame(0, kEverybody, CMD_CHAT_CODE, 0, "spam")));
    ASSERT_TRUE(ann.Send(MakeFrame(0, kEverybody, 9, 0, "card")));
    ASSERT_TRUE(WaitUntil([&] { return heldSink.Count(9) == 1; }));
    const int chat = heldSink.Count(CMD_CHAT_CODE);
    EXPECT_GT(chat, 0);
    EXPECT_LE(heldSink.Count(), CNetLibrary::kMaxQueuedForChat + 1);
    EXPECT_EQ(static_cast<int>(CNetLibrary::s_droppedChat.load()),
              2 * CNetLibrary::kMaxQueuedForChat - chat);
}

TEST_F(ClientTest, DispatchTakesOnlyAwaitedRepliesAndFramesFromUsersInTheList) {
    EndpointPair p;
    CConnSocket& ep = *p.ep;
    ep.m_userId = 1;
    ep.m_window = &sink;
    ep.m_waitEvent = std::make_unique<ManualResetEvent>();
    auto take = [&](const std::vector<uint8_t>& frame) {
        p.Write(frame);
        ASSERT_EQ(ep.ReadFrame(), CConnSocket::ReadStatus::Frame);
        CClientLink::Dispatch(ep);
    };
    take(MakeU16Frame(0, 1, NET_SYNCREPLY, 5)); // nobody awaits it
    EXPECT_EQ(ep.m_replySum, 0);
    EXPECT_EQ(ep.m_awaitedReplies, 0);
    ep.m_awaitedReplies = 2;
    take(MakeU16Frame(0, 1, NET_SYNCREPLY, 2));
    EXPECT_FALSE(ep.m_waitEvent->IsSet());
    take(MakeU16Frame(2, 1, NET_SYNCREPLY, 3));
    EXPECT_TRUE(ep.m_waitEvent->IsSet()) << "the last awaited reply ends the wait";
    take(MakeU16Frame(3, 1, NET_SYNCREPLY, 7)); // late
    EXPECT_EQ(ep.m_replySum, 5);
    EXPECT_EQ(ep.m_awaitedReplies, 0);
    // Frames from an id outside the user list cannot be placed: nothing is posted.
    take(MakeFrame(kMaxUsers, kEverybody, NET_ATTACH, 0, "Mallory"));
    take(MakeFrame(kMaxUsers, kEverybody, NET_DETACH, 0, "Mallory"));
    take(MakeFrame(0, kEverybody, CMD_CHAT_CODE, 0, "hello"));
    auto first = sink.WaitFor([](const Notice&) { return true; }, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, "hello");
}
