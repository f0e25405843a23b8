// The dealer's server, driven over loopback by raw clients: what it relays and
// counts, and what it refuses (spoofed frames, privileged ports).
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "net/ConnBudget.h"
#include "net/PortRights.h"
#include "tests/net/NetTestSupport.h"

using namespace nettest;

namespace {
std::vector<uint8_t> ToAll(uint16_t from, uint16_t command, uint32_t seq, const std::string& text,
                           bool withNul = true) {
    return MakeFrame(from, kEverybody, command, seq, text, withNul);
}
// A chat line from `from` that every logged-in connection gets back.
std::vector<uint8_t> Marker(uint16_t from) {
    return ToAll(from, CMD_CHAT_CODE, 0, "marker");
}
} // namespace

TEST_F(DealerTest, ASecondLoginOnTheConnectionIsIgnored) {
    auto a = Join("Ann");
    RawClient b;
    ASSERT_TRUE(b.Connect(dealer.Port()));
    ASSERT_TRUE(b.Send(MakeLoginRequest("Bob")));
    ASSERT_EQ(b.Login("unused"), 1);
    EXPECT_FALSE(b.Read(100));
}

TEST_F(DealerTest, AttachProbeAndDetachSkipTheSenderAndRepliesGoToOneUser) {
    auto a = Join("A");
    auto b = Join("B");
    ASSERT_TRUE(a->Send(ToAll(a->id, NET_ATTACH, 0, "A")));
    ASSERT_TRUE(a->Send(ToAll(a->id, NET_ATTACH, 0, ""))); // a busy probe
    EXPECT_EQ(b->Expect().text, "A");
    EXPECT_EQ(b->Expect().text, "");
    ASSERT_TRUE(b->Send(MakeU16Frame(b->id, a->id, NET_SYNCREPLY, 3))); // to the prober only
    EXPECT_EQ(a->Expect(NET_SYNCREPLY).U16(), 3);
    // A place state needs two bytes; a shorter one is neither taken nor relayed.
    ASSERT_TRUE(a->Send(ToAll(a->id, NET_PLACESTATE, 0, "\x03", false)));
    ASSERT_TRUE(a->Send(ToAll(a->id, NET_DETACH, 0, "A")));
    EXPECT_EQ(b->Expect(NET_DETACH).h.from, a->id);
    ASSERT_TRUE(b->Send(Marker(b->id)));
    EXPECT_EQ(a->Expect().text, "marker") << "none of the four came back to A";
}

TEST_F(DealerTest, CountedCommandsAreRelayedInOrderAndStaleOnesDropped) {
    auto a = Join("A");
    auto b = Join("B");
    auto c = Join("C");
    const auto sent = ToAll(a->id, 9, 0, "x");
    ASSERT_TRUE(a->Send(sent));
    EXPECT_EQ(a->Expect(9).bytes, sent) << "the header is relayed exactly as sent";
    EXPECT_EQ(b->Expect(9).bytes, sent);
    // B built its frame before seeing A's (seq one below its count): dropped; so is
    // one numbered ahead of its count.
    ASSERT_TRUE(b->Send(ToAll(b->id, 11, 0, "stale")));
    ASSERT_TRUE(b->Send(ToAll(b->id, 11, 2, "ahead")));
    ASSERT_TRUE(b->Send(ToAll(b->id, 11, 1, "fresh")));
    EXPECT_EQ(a->Expect().text, "fresh");
    EXPECT_EQ(b->Expect().text, "fresh");
    // A command to one user goes there only and counts there only.
    ASSERT_TRUE(a->Send(MakeFrame(a->id, b->id, 12, 2, "for b")));
    EXPECT_EQ(b->Expect(12).text, "for b");
    ASSERT_TRUE(b->Send(ToAll(b->id, 14, 3, "from b")));
    EXPECT_EQ(a->Expect(14).text, "from b");
    EXPECT_EQ(c->Expect(14).text, "from b");
    ASSERT_TRUE(c->Send(ToAll(c->id, 13, 3, "from c")));
    EXPECT_EQ(a->Expect(13).text, "from c");
}

TEST_F(DealerTest, SpoofedFramesAreDroppedAndCounted) {
    auto ann = Join("Ann");
    auto bob = Join("Bob");
    auto eve = Join("Eve");
    // Eve seats her computer partner 2 (user 102); then Ann hers, 3.
    ASSERT_TRUE(eve->Send(ToAll(eve->id, NET_ADDAUTO, 0, "\x02", false)));
    ann->Expect(NET_ADDAUTO);
    ASSERT_TRUE(ann->Send(ToAll(ann->id, NET_ADDAUTO, 1, "\x03", false)));
    for (RawClient* c : {ann.get(), bob.get(), bob.get(), eve.get(), eve.get()})
        c->Expect(NET_ADDAUTO);
    const struct {
        uint16_t from;
        uint16_t command;
        bool relayed;
    } cases[] = {
        {ann->id, NET_DETACH, false},       // the false leave of the dealer's user
        {bob->id, NET_DETACH, false},       // of another player
        {103, CMD_CHAT_CODE, false},        // as Ann's computer partner
        {kEverybody, CMD_CHAT_CODE, false}, // as nobody
        {102, CMD_CHAT_CODE, true},         // as her own computer partner
        {eve->id, CMD_CHAT_CODE, true},     // as herself
    };
    uint32_t spoofed = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        ASSERT_TRUE(eve->Send(MakeFrame(c.from, kEverybody, c.command, 0, "evil")));
        ASSERT_TRUE(eve->Send(Marker(eve->id)));
        for (RawClient* peer : {ann.get(), bob.get()}) {
            EXPECT_EQ(c.relayed ? peer->Expect().h.from : c.from, c.from);
            EXPECT_EQ(peer->Expect().text, "marker");
        }
        spoofed += c.relayed ? 0 : 1;
    }
    EXPECT_EQ(Join("Dan")->id, 3) << "the false leaves removed nobody from the list";
    // Taking away Ann's partner, or Ann herself (-100 lands on entry 0), is refused;
    // her own partner goes.
    for (const char* k : {"\x03", "\x9c"}) {
        ASSERT_TRUE(eve->Send(ToAll(eve->id, NET_DELAUTO, 2, k, false)));
        ++spoofed;
    }
    ASSERT_TRUE(eve->Send(ToAll(eve->id, NET_DELAUTO, 2, "\x02", false)));
    EXPECT_EQ(ann->Expect(NET_DELAUTO).text, "\x02");
    eve->Close();
    EXPECT_EQ(ann->Expect(NET_DETACH).text, "Eve");
    // The list a new login receives.
    const auto fay = Join("Fay");
    const auto name = [&](int id) {
        USERINFO e;
        std::memcpy(&e, fay->lastReply.data() + kLoginListOffset + id * sizeof e, sizeof e);
        return std::string(e.name, strnlen(e.name, sizeof e.name));
    };
    EXPECT_EQ(std::make_tuple(name(0), name(102), name(103), name(104)),
              std::make_tuple(std::string("Ann"), std::string(), std::string("Tesiva"),
                              std::string()));
    dealer.Stop();
    EXPECT_EQ(dealer.Server().Stats().spoofed, spoofed);
}

TEST_F(DealerTest, ChatIsNotQueuedForAPeerThatDoesNotRead) {
    RawClient sleeper; // logs in, then never reads again
    ASSERT_TRUE(sleeper.Connect(dealer.Port(), 2048));
    ASSERT_GE(sleeper.Login("Sleeper"), 0);
    // Each talker stays within its chat budget; together they send far more
    // than the sleeper's socket and its queue in the dealer take.
    std::vector<std::unique_ptr<RawClient>> talkers;
    for (int t = 0; t < 10; ++t)
        talkers.push_back(Join("Talker"));
    const std::string big(7900, 'x');
    for (uint32_t round = 0; round < CConnBudget::kChatBurst; ++round) {
        for (auto& t : talkers)
            ASSERT_TRUE(t->Send(ToAll(t->id, CMD_CHAT_CODE, 0, big)));
        for (auto& t : talkers) // everybody who reads gets every line
            for (size_t i = 0; i < talkers.size(); ++i)
                ASSERT_EQ(t->Expect(CMD_CHAT_CODE).text.size(), big.size()) << round;
    }
    dealer.Stop();
    const DealerStats& stats = dealer.Server().Stats();
    EXPECT_EQ(std::tuple(stats.queueFull > 0, stats.overBudget, stats.closed),
              std::tuple(true, 0u, 0u))
        << "lines to the sleeper dropped; chat alone never fills a queue past its limit";
}

TEST(PortRights, WithTheRightToBindLowPortsOnly250IsAllowedBelow1024) {
    const struct {
        uint16_t port;
        bool privileged;
        bool allowed;
    } cases[] = {
        {250, true, true},  {1024, true, true}, {1023, true, false},
        {249, true, false}, {251, true, false}, {80, false, true}, // the system itself refuses
    };
    for (const auto& c : cases) {
        const std::string refused = RefusedDealerPort(c.port, c.privileged);
        EXPECT_EQ(refused.empty(), c.allowed) << c.port << " " << c.privileged;
        EXPECT_TRUE(c.allowed || refused.find(std::to_string(c.port)) != std::string::npos);
    }
    EXPECT_TRUE(DropBindCapability());
    EXPECT_FALSE(HoldsBindCapability());
}
