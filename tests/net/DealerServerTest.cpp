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
    static uint16_t ListField(const std::vector<uint8_t>& reply, int index, int offset) {
        return GetU16(reply.data() + 56 + index * 26 + offset);
    }
    TestDealer dealer;
};
} // namespace

TEST_F(DealerServerTest, LoginReplyCarriesIdAndUserList) {
    auto a = Join("Ann");
    RawClient b;
    ASSERT_TRUE(b.Connect(dealer.Port()));
    ASSERT_TRUE(b.Send(MakeLoginRequest("Bob")));
    ASSERT_EQ(b.Login("unused"), 1);
    EXPECT_TRUE(b.Quiet(100)) << "a second login on the connection is ignored";
    const auto& reply = b.lastReply;
    ASSERT_EQ(reply.size(), 6686u);
    EXPECT_EQ(GetU16(reply.data() + 16), 1);
    EXPECT_EQ(ListName(reply, 0), "Ann");
    EXPECT_EQ(ListName(reply, 1), "Bob");
    EXPECT_EQ(ListField(reply, 1, 2), 1);      // owner
    EXPECT_EQ(ListField(reply, 1, 4), 0xFFFF); // aux
    EXPECT_EQ(a->id, 0);
}

TEST_F(DealerServerTest, ChatGoesToAllAndAttachProbeDetachSkipTheSender) {
    auto a = Join("A");
    auto b = Join("B");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, 1, 0, "hi")));
    for (RawClient* c : {a.get(), b.get()}) {
        auto f = c->ReadCommand(1);
        ASSERT_TRUE(f);
        EXPECT_EQ(TextOf(*f), "hi");
        EXPECT_EQ(HeaderOf(*f).from, a->id);
    }
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_ATTACH, 0, "A")));
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_ATTACH, 0, ""))); // a busy probe
    auto attach = b->Read(), probe = b->Read();
    ASSERT_TRUE(attach && probe);
    EXPECT_EQ(TextOf(*attach), "A");
    EXPECT_EQ(TextOf(*probe), "");
    ASSERT_TRUE(b->Send(MakeU16Frame(b->id, a->id, NET_SYNCREPLY, 3))); // to the prober only
    auto got = a->ReadCommand(NET_SYNCREPLY);
    ASSERT_TRUE(got);
    EXPECT_EQ(GetU16(got->data() + 16), 3);
    // A place state needs two bytes; a shorter one is neither taken nor relayed.
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_PLACESTATE, 0, "\x03", false)));
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_DETACH, 0, "A")));
    auto detach = b->ReadCommand(NET_DETACH);
    ASSERT_TRUE(detach);
    EXPECT_EQ(HeaderOf(*detach).from, a->id);
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, 1, 0, "marker")));
    auto next = a->Read();
    ASSERT_TRUE(next);
    EXPECT_EQ(TextOf(*next), "marker") << "none of the four came back to A";
}

TEST_F(DealerServerTest, CountedCommandsAreRelayedInOrderAndStaleOnesDropped) {
    auto a = Join("A");
    auto b = Join("B");
    auto c = Join("C");
    const auto sent = MakeFrame(a->id, 0xFFFF, 9, 0, "x");
    ASSERT_TRUE(a->Send(sent));
    auto fa = a->ReadCommand(9);
    auto fb = b->ReadCommand(9);
    ASSERT_TRUE(fa && fb);
    EXPECT_EQ(*fa, sent) << "the header is relayed exactly as sent";
    EXPECT_EQ(*fb, sent);
    // B built its frame before seeing A's (seq one below its count): dropped; so is
    // one numbered ahead of its count.
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, 11, 0, "stale")));
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, 11, 2, "ahead")));
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, 11, 1, "fresh")));
    for (RawClient* r : {a.get(), b.get()}) {
        auto got = r->Read();
        ASSERT_TRUE(got);
        EXPECT_EQ(TextOf(*got), "fresh");
    }
    // A command to one user goes there only and counts there only.
    ASSERT_TRUE(a->Send(MakeFrame(a->id, b->id, 12, 2, "for b")));
    auto only = b->ReadCommand(12);
    ASSERT_TRUE(only);
    EXPECT_EQ(TextOf(*only), "for b");
    ASSERT_TRUE(c->ReadCommand(11));
    ASSERT_TRUE(c->Send(MakeFrame(c->id, 0xFFFF, 13, 2, "from c")));
    auto atA = a->ReadCommand(13);
    ASSERT_TRUE(atA);
    EXPECT_EQ(TextOf(*atA), "from c");
}

TEST_F(DealerServerTest, ComputerPartnersAndTheLeaveNotice) {
    auto a = Join("A");
    auto b = Join("B");
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_ADDAUTO, 0, "\x02", false)));
    ASSERT_TRUE(b->ReadCommand(NET_ADDAUTO));
    ASSERT_TRUE(b->Send(MakeFrame(b->id, 0xFFFF, NET_ADDAUTO, 1, "\x03", false)));
    ASSERT_TRUE(a->ReadCommand(NET_ADDAUTO));
    ASSERT_TRUE(a->ReadCommand(NET_ADDAUTO));
    auto c = Join("C");
    EXPECT_EQ(ListName(c->lastReply, 102), "Medra");
    EXPECT_EQ(ListField(c->lastReply, 102, 2), a->id);
    ASSERT_TRUE(a->Send(MakeFrame(a->id, 0xFFFF, NET_DELAUTO, 2, "\x02", false)));
    ASSERT_TRUE(a->ReadCommand(NET_DELAUTO));
    b->Close();
    auto notice = a->ReadCommand(NET_DETACH);
    ASSERT_TRUE(notice);
    EXPECT_EQ(HeaderOf(*notice).from, 1);
    EXPECT_EQ(TextOf(*notice), "B");
    auto d = Join("D");
    EXPECT_EQ(d->id, 1);
    EXPECT_EQ(ListName(d->lastReply, 102), "") << "removed";
    EXPECT_EQ(ListName(d->lastReply, 103), "") << "left with its owner";
}

TEST_F(DealerServerTest, AnswersDiscoveryRequestsOnly) {
    auto a = Join("Ann");
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    timeval tv{0, 300 * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    to.sin_port = htons(dealer.UdpPort());
    uint8_t answer[600];
    auto ask = [&](const void* data, size_t len) {
        sendto(fd, data, len, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        return recv(fd, answer, sizeof answer, 0);
    };
    const char longer[20] = "VESKREQUEST";
    EXPECT_LT(ask("VESKREQUEST", 11), 0); // truncated
    EXPECT_LT(ask(longer, sizeof longer), 0);
    EXPECT_LT(ask("VESKANSWER\0", 12), 0); // wrong tag
    ssize_t n = -1;
    for (int i = 0; i < 20 && n < 0; ++i)
        n = ask(kRequestText, 12);
    ASSERT_EQ(n, 474);
    DiscoveryAnswer parsed;
    ASSERT_TRUE(ParseDiscoveryAnswer(answer, 474, 0, parsed));
    ASSERT_EQ(parsed.users.size(), 1u);
    EXPECT_EQ(parsed.users[0].first, "Ann");
    close(fd);
}
