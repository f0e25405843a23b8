// The dealer's server, driven over loopback by clients that speak the wire
// protocol byte by byte.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/Discovery.h"
#include "tests/net/NetTestSupport.h"

using namespace nettest;

namespace {
class DealerServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dealer.Start()) << dealer.error; }
    // Connects and logs in a new raw client.
    std::unique_ptr<RawClient> Join(const std::string& name) {
        auto c = std::make_unique<RawClient>();
        EXPECT_TRUE(c->Connect(dealer.Port()));
        EXPECT_GE(c->Login(name), 0);
        return c;
    }
    static std::string ListName(const std::vector<uint8_t>& reply, int index) {
        const char* p = reinterpret_cast<const char*>(reply.data() + 56 + index * 26 + 6);
        return std::string(p, strnlen(p, 20));
    }
    TestDealer dealer;
};
} // namespace

TEST_F(DealerServerTest, LoginReplyCarriesIdAndUserList) {
    auto a = Join("Ann");
    auto b = std::make_unique<RawClient>();
    ASSERT_TRUE(b->Connect(dealer.Port()));
    auto request = MakeLoginRequest("Bob");
    ASSERT_TRUE(b->Send(request));
    // A second login on the same connection is ignored: one reply only.
    ASSERT_EQ(b->Login("unused"), 1);
    EXPECT_TRUE(b->Quiet(100));
    const auto& reply = b->lastReply;
    ASSERT_EQ(reply.size(), 6686u);
    EXPECT_EQ(GetU32(reply.data() + 12), 6686u);
    EXPECT_EQ(GetU16(reply.data() + 4), NET_LOGIN);
    EXPECT_EQ(GetU16(reply.data() + 6), 1008);
    EXPECT_EQ(GetU16(reply.data()), 0xFFFF);
    EXPECT_EQ(GetU16(reply.data() + 16), 1); // the id
    EXPECT_EQ(reply[18], 'b');               // rest of the request's name field as received
    EXPECT_EQ(ListName(reply, 0), "Ann");
    EXPECT_EQ(ListName(reply, 1), "Bob");
    EXPECT_EQ(GetU16(reply.data() + 56 + 26 + 2), 1);      // owner
    EXPECT_EQ(GetU16(reply.data() + 56 + 26 + 4), 0xFFFF); // aux
    EXPECT_EQ(a->id, 0);
}

TEST_F(DealerServerTest, NamesAreMadeUnique) {
    auto p0 = Join("Player");
    auto p1 = Join("Player");
    auto p2 = Join("Player");
    EXPECT_EQ(ListName(p2->lastReply, 1), "Player_1");
    EXPECT_EQ(ListName(p2->lastReply, 2), "Player_2");
    p1->Close();
    ASSERT_TRUE(p0->ReadCommand(NET_DETACH).has_value());
    auto p3 = Join("Player");
    EXPECT_EQ(p3->id, 1);
    EXPECT_EQ(ListName(p3->lastReply, 1), "Player_3");
    // Play agrees with the three Player names in its first four characters.
    auto play = Join("Play");
    EXPECT_EQ(ListName(play->lastReply, play->id), "Play_3");
    auto l1 = Join("ABCDEFGHIJKLMNOPQR");
    auto l2 = Join("ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(ListName(l2->lastReply, l2->id), "ABCDEFGHIJKLMNOP_1");
}

TEST_F(DealerServerTest, OverlongLoginNameIsCut) {
    auto c = Join(std::string(39, 'n'));
    EXPECT_EQ(ListName(c->lastReply, c->id), std::string(19, 'n'));
}

TEST_F(DealerServerTest, ChatIsRelayedToAllSenderIncluded) {
    auto a = Join("A");
    auto b = Join("B");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, 1, 0, "hi")));
    for (RawClient* c : {a.get(), b.get()}) {
        auto f = c->ReadCommand(1);
        ASSERT_TRUE(f);
        EXPECT_EQ(TextOf(*f), "hi");
        EXPECT_EQ(HeaderOf(*f).from, a->id);
    }
}

TEST_F(DealerServerTest, AttachAndProbeAndDetachSkipTheSender) {
    auto a = Join("A");
    auto b = Join("B");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_ATTACH, 0, "A")));
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_ATTACH, 0, "")));
    auto attach = b->Read();
    ASSERT_TRUE(attach);
    EXPECT_EQ(HeaderOf(*attach).command, NET_ATTACH);
    EXPECT_EQ(TextOf(*attach), "A");
    auto probe = b->Read();
    ASSERT_TRUE(probe);
    EXPECT_EQ(TextOf(*probe), "");
    // The busy reply goes back to the prober only.
    std::vector<uint8_t> reply = MakeFrame(b->id, a->id, NET_SYNCREPLY, 0, "", false);
    reply.push_back(3);
    reply.push_back(0);
    PutU32(reply.data() + 12, static_cast<uint32_t>(reply.size()));
    ASSERT_TRUE(b->Send(reply));
    auto got = a->ReadCommand(NET_SYNCREPLY);
    ASSERT_TRUE(got);
    EXPECT_EQ(GetU16(got->data() + 16), 3);
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_DETACH, 0, "A")));
    auto detach = b->ReadCommand(NET_DETACH);
    ASSERT_TRUE(detach);
    EXPECT_EQ(HeaderOf(*detach).from, a->id);
    // None of these came back to A.
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, 1, 0, "marker")));
    auto next = a->Read();
    ASSERT_TRUE(next);
    EXPECT_EQ(TextOf(*next), "marker");
}

TEST_F(DealerServerTest, PlaceStateIsEchoedAndStored) {
    auto a = Join("A");
    auto b = Join("B");
    std::vector<uint8_t> f = MakeFrame(a->id, 0xFFFF, NET_PLACESTATE, 0, "", false);
    f.push_back(0x01);
    f.push_back(0x80);
    PutU32(f.data() + 12, 18);
    ASSERT_TRUE(a->Send(f));
    for (RawClient* c : {a.get(), b.get()}) {
        auto got = c->ReadCommand(NET_PLACESTATE);
        ASSERT_TRUE(got);
        EXPECT_EQ(GetU16(got->data() + 16), 0x8001);
    }
    // A newcomer's list shows the state.
    auto c = Join("C");
    EXPECT_EQ(GetU16(c->lastReply.data() + 56 + a->id * 26), 0x8001);
}

TEST_F(DealerServerTest, CountedCommandIsRelayedToAllAndCounted) {
    auto a = Join("A");
    auto b = Join("B");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, 9, 0, "x")));
    auto fa = a->ReadCommand(9);
    auto fb = b->ReadCommand(9);
    ASSERT_TRUE(fa && fb);
    EXPECT_EQ(*fa, *fb);
    // The header is relayed exactly as sent.
    EXPECT_EQ(*fa, MakeFrame(a->id, 0xFFFF, 9, 0, "x"));
    // Both now have one counted frame: seq 1 is current for both.
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, 10, 1, "y")));
    ASSERT_TRUE(a->ReadCommand(10));
    ASSERT_TRUE(b->ReadCommand(10));
}

TEST_F(DealerServerTest, StaleCountedCommandIsDropped) {
    auto a = Join("A");
    auto b = Join("B");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, 9, 0, "first")));
    ASSERT_TRUE(b->ReadCommand(9));
    ASSERT_TRUE(a->ReadCommand(9));
    // B builds with seq one below the dealer's count for it: dropped.
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, 11, 0, "stale")));
    // Then the same with the equal value: relayed, sender included.
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, 11, 1, "fresh")));
    auto got = a->Read();
    ASSERT_TRUE(got);
    EXPECT_EQ(TextOf(*got), "fresh");
    auto own = b->Read();
    ASSERT_TRUE(own);
    EXPECT_EQ(TextOf(*own), "fresh");
}

TEST_F(DealerServerTest, CommandToOneUserGoesThereOnlyAndCountsThere) {
    auto a = Join("A");
    auto b = Join("B");
    auto c = Join("C");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, b->id, 9, 0, "for b")));
    auto got = b->ReadCommand(9);
    ASSERT_TRUE(got);
    EXPECT_EQ(TextOf(*got), "for b");
    // C's count is still 0, A's too: both can send with seq 0.
    ASSERT_TRUE(c->Send(MakeFrame(c->id, 0xFFFF, 9, 0, "from c")));
    auto atA = a->ReadCommand(9);
    ASSERT_TRUE(atA);
    EXPECT_EQ(TextOf(*atA), "from c");
}

TEST_F(DealerServerTest, ComputerPartnersAreAddedAndRemoved) {
    auto a = Join("A");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_ADDAUTO, 0, "\x02", false)));
    ASSERT_TRUE(a->ReadCommand(NET_ADDAUTO));
    auto b = Join("B");
    EXPECT_EQ(ListName(b->lastReply, 102), "Medra");
    EXPECT_EQ(GetU16(b->lastReply.data() + 56 + 102 * 26 + 2), a->id);
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_DELAUTO, 1, "\x02", false)));
    ASSERT_TRUE(a->ReadCommand(NET_DELAUTO));
    auto c = Join("C");
    EXPECT_EQ(ListName(c->lastReply, 102), "");
}

TEST_F(DealerServerTest, ClosingConnectionSendsLeaveNoticeAndFreesPartners) {
    auto a = Join("A");
    auto b = Join("B");
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, NET_ADDAUTO, 0, "\x03", false)));
    ASSERT_TRUE(a->ReadCommand(NET_ADDAUTO));
    b->Close();
    auto notice = a->ReadCommand(NET_DETACH);
    ASSERT_TRUE(notice);
    EXPECT_EQ(HeaderOf(*notice).from, 1);
    EXPECT_EQ(HeaderOf(*notice).to, 0xFFFF);
    EXPECT_EQ(HeaderOf(*notice).seq, 0u);
    EXPECT_EQ(TextOf(*notice), "B");
    EXPECT_EQ(notice->size(), 18u);
    auto c = Join("C");
    EXPECT_EQ(c->id, 1);
    EXPECT_EQ(ListName(c->lastReply, 103), "");
}

TEST_F(DealerServerTest, ConnectionThatNeverLoggedInGoesSilently) {
    auto a = Join("A");
    RawClient idle;
    ASSERT_TRUE(idle.Connect(dealer.Port()));
    auto b = Join("B");
    idle.Close();
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, 1, 0, "after")));
    auto got = a->Read();
    ASSERT_TRUE(got);
    EXPECT_EQ(HeaderOf(*got).command, 1); // no leave notice came before it
}

TEST_F(DealerServerTest, FramesBeforeLoginAreIgnoredAndNotRelayedToIt) {
    auto a = Join("A");
    RawClient early;
    ASSERT_TRUE(early.Connect(dealer.Port()));
    ASSERT_TRUE(early.Send(MakeFrame(5, 0xFFFF, 1, 0, "sneaky")));
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, 1, 0, "mine")));
    auto got = a->Read();
    ASSERT_TRUE(got);
    EXPECT_EQ(TextOf(*got), "mine");
    // The not-logged-in connection got nothing; its login reply comes first.
    ASSERT_GE(early.Login("E"), 0);
    EXPECT_EQ(GetU32(early.lastReply.data() + 12), 6686u);
}

// --- hostile input on the dealer's connections ---

TEST_F(DealerServerTest, LengthBelowSixteenClosesTheConnection) {
    auto a = Join("A");
    auto b = Join("B");
    auto f = MakeFrame(b->id, 0xFFFF, 1, 0, "");
    PutU32(f.data() + 12, 4);
    ASSERT_TRUE(b->Send(f));
    EXPECT_TRUE(b->WaitClosed());
    auto notice = a->ReadCommand(NET_DETACH);
    ASSERT_TRUE(notice);
    EXPECT_EQ(TextOf(*notice), "B");
}

TEST_F(DealerServerTest, LengthAboveEightThousandClosesTheConnection) {
    auto a = Join("A");
    RawClient b;
    ASSERT_TRUE(b.Connect(dealer.Port()));
    auto f = MakeFrame(0xFFFF, 0xFFFF, 16, 0, "");
    PutU32(f.data() + 12, 0x7FFFFFFF);
    ASSERT_TRUE(b.Send(f));
    EXPECT_TRUE(b.WaitClosed());
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, 1, 0, "alive")));
    EXPECT_TRUE(a->ReadCommand(1));
}

TEST_F(DealerServerTest, WrongVersionIsDroppedButConnectionStays) {
    auto a = Join("A");
    auto f = MakeFrame(a->id, 0xFFFF, 1, 0, "new");
    PutU16(f.data() + 6, 1009);
    ASSERT_TRUE(a->Send(f));
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, 1, 0, "old")));
    auto got = a->Read();
    ASSERT_TRUE(got);
    EXPECT_EQ(TextOf(*got), "old");
}

TEST_F(DealerServerTest, HalfFrameStallHoldsUpNobody) {
    auto a = Join("A");
    auto b = Join("B");
    auto f = MakeFrame(b->id, 0xFFFF, 1, 0, "never finished");
    ASSERT_TRUE(b->SendRaw(f.data(), 10));
    RawClient silent;
    ASSERT_TRUE(silent.Connect(dealer.Port()));
    auto c = Join("C");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, 1, 0, "go on")));
    auto atC = c->ReadCommand(1);
    ASSERT_TRUE(atC);
    EXPECT_EQ(TextOf(*atC), "go on");
    // B finishes its frame later: it is relayed whole.
    ASSERT_TRUE(b->SendRaw(f.data() + 10, f.size() - 10));
    auto late = c->ReadCommand(1);
    ASSERT_TRUE(late);
    EXPECT_EQ(TextOf(*late), "never finished");
}

TEST_F(DealerServerTest, PayloadWithoutNulIsRelayedAsIs) {
    auto a = Join("A");
    auto f = MakeFrame(a->id, 0xFFFF, 1, 0, "abc", false);
    ASSERT_TRUE(a->Send(f));
    auto got = a->Read();
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, f);
}

TEST_F(DealerServerTest, SixtyFirstConnectionIsRefused) {
    std::vector<std::unique_ptr<RawClient>> clients;
    for (size_t i = 0; i < CDealerServer::kMaxConnections; ++i)
        clients.push_back(Join("P"));
    RawClient extra;
    ASSERT_TRUE(extra.Connect(dealer.Port())); // the kernel accepts; the dealer closes it
    ASSERT_TRUE(extra.Send(MakeLoginRequest("late")));
    EXPECT_TRUE(extra.WaitClosed());
    // One leaves: room for a new one.
    clients[5]->Close();
    ASSERT_TRUE(clients[0]->ReadCommand(NET_DETACH));
    auto again = Join("again");
    EXPECT_EQ(again->id, 5);
}

TEST_F(DealerServerTest, LoginWhenListIsFullGetsNoReply) {
    auto a = Join("A");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, 1, 0, "sync")));
    ASSERT_TRUE(a->Read());
    dealer.Stop(); // fill the list while the thread is not running
    TestDealer full;
    for (int i = 0; i < kMaxUsers; ++i)
        full.Server().Users().Admit("U");
    ASSERT_TRUE(full.Start());
    auto b = std::make_unique<RawClient>();
    ASSERT_TRUE(b->Connect(full.Port()));
    EXPECT_EQ(b->Login("late", 500), -1);
    EXPECT_TRUE(b->Quiet(200)); // still open, still silent
}

TEST(DealerServerLogin, UnloggedConnectionIsClosedAfterTheLoginTime) {
    const int saved = CDealerServer::s_loginTimeoutMs;
    CDealerServer::s_loginTimeoutMs = 300;
    TestDealer dealer;
    ASSERT_TRUE(dealer.Start());
    RawClient idle;
    ASSERT_TRUE(idle.Connect(dealer.Port()));
    EXPECT_TRUE(idle.WaitClosed());
    CDealerServer::s_loginTimeoutMs = saved;
}

TEST_F(DealerServerTest, StopEndsTheThreadAndClosesEveryConnection) {
    auto a = Join("A");
    auto b = Join("B");
    dealer.Stop();
    EXPECT_TRUE(a->WaitClosed());
    EXPECT_TRUE(b->WaitClosed());
}

// --- discovery on the dealer's datagram socket ---

namespace {
int UdpSocket() {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    timeval tv{0, 300 * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    return fd;
}
ssize_t Ask(int fd, uint16_t port, const void* data, size_t len, uint8_t* answer, size_t cap) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(port);
    sendto(fd, data, len, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    return recv(fd, answer, cap, 0);
}
} // namespace

TEST_F(DealerServerTest, AnswersDiscoveryRequests) {
    auto a = Join("Ann");
    dealer.Server(); // host name set at construction
    int fd = UdpSocket();
    uint8_t answer[600];
    ssize_t n = -1;
    for (int i = 0; i < 20 && n < 0; ++i)
        n = Ask(fd, dealer.UdpPort(), kRequestText, 12, answer, sizeof answer);
    ASSERT_EQ(n, 474);
    DiscoveryAnswer parsed;
    ASSERT_TRUE(ParseDiscoveryAnswer(answer, 474, 0, parsed));
    ASSERT_EQ(parsed.users.size(), 1u);
    EXPECT_EQ(parsed.users[0].first, "Ann");
    close(fd);
}

TEST_F(DealerServerTest, WrongDatagramsGetNoAnswer) {
    int fd = UdpSocket();
    uint8_t answer[600];
    EXPECT_LT(Ask(fd, dealer.UdpPort(), "VESKREQUEST", 11, answer, sizeof answer), 0); // truncated
    char longer[20] = "VESKREQUEST";
    EXPECT_LT(Ask(fd, dealer.UdpPort(), longer, sizeof longer, answer, sizeof answer),
              0);                                                                       // oversized
    EXPECT_LT(Ask(fd, dealer.UdpPort(), "VESKANSWER\0", 12, answer, sizeof answer), 0); // wrong tag
    ssize_t n = -1;
    for (int i = 0; i < 20 && n < 0; ++i)
        n = Ask(fd, dealer.UdpPort(), kRequestText, 12, answer, sizeof answer);
    EXPECT_EQ(n, 474); // still answering
    close(fd);
}
