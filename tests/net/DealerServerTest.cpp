// The dealer's server, driven over loopback by raw clients: what it relays and
// counts, and what it refuses (spoofed frames, floods, privileged ports).
#include <gtest/gtest.h>

#include <cstring>

#include "net/ConnBudget.h"
#include "net/PortRights.h"
#include "tests/net/NetTestSupport.h"

using namespace nettest;

namespace {
// Entry i of the user list in a login reply: 26 bytes, the name at offset 6.
uint16_t ListField(const std::vector<uint8_t>& reply, int i, int offset) {
    return GetU16(reply.data() + kLoginListOffset + i * 26 + offset);
}
std::string ListName(const std::vector<uint8_t>& reply, int i) {
    const char* p = reinterpret_cast<const char*>(reply.data() + kLoginListOffset + i * 26 + 6);
    return std::string(p, strnlen(p, 20));
}
// A frame from `from` to everybody.
std::vector<uint8_t> ToAll(uint16_t from, uint16_t command, uint32_t seq, const std::string& text,
                           bool withNul = true) {
    return MakeFrame(from, kEverybody, command, seq, text, withNul);
}
// A chat line from `from` that every logged-in connection gets back.
std::vector<uint8_t> Marker(uint16_t from) {
    return ToAll(from, CMD_CHAT_CODE, 0, "marker");
}
} // namespace

TEST_F(DealerTest, LoginReplyCarriesIdAndUserList) {
    auto a = Join("Ann");
    RawClient b;
    ASSERT_TRUE(b.Connect(dealer.Port()));
    ASSERT_TRUE(b.Send(MakeLoginRequest("Bob")));
    ASSERT_EQ(b.Login("unused"), 1);
    EXPECT_FALSE(b.Read(100)) << "a second login on the connection is ignored";
    EXPECT_EQ(GetU32(&b.lastReply[12]), kLoginReplySize);
    EXPECT_EQ(ListName(b.lastReply, 0), "Ann");
    EXPECT_EQ(ListName(b.lastReply, 1), "Bob");
    EXPECT_EQ(ListField(b.lastReply, 1, 2), 1);      // owner
    EXPECT_EQ(ListField(b.lastReply, 1, 4), 0xFFFF); // aux
    EXPECT_EQ(a->id, 0);
}

TEST_F(DealerTest, AttachProbeAndDetachSkipTheSenderAndRepliesGoToOneUser) {
    auto a = Join("A");
    auto b = Join("B");
    ASSERT_TRUE(a->Send(ToAll(a->id, NET_ATTACH, 0, "A")));
    ASSERT_TRUE(a->Send(ToAll(a->id, NET_ATTACH, 0, ""))); // a busy probe
    EXPECT_EQ(b->Next().text, "A");
    EXPECT_EQ(b->Next().text, "");
    ASSERT_TRUE(b->Send(MakeU16Frame(b->id, a->id, NET_SYNCREPLY, 3))); // to the prober only
    EXPECT_EQ(a->Expect(NET_SYNCREPLY).U16(), 3);
    // A place state needs two bytes; a shorter one is neither taken nor relayed.
    ASSERT_TRUE(a->Send(ToAll(a->id, NET_PLACESTATE, 0, "\x03", false)));
    ASSERT_TRUE(a->Send(ToAll(a->id, NET_DETACH, 0, "A")));
    EXPECT_EQ(b->Expect(NET_DETACH).h.from, a->id);
    ASSERT_TRUE(b->Send(Marker(b->id)));
    EXPECT_EQ(a->Next().text, "marker") << "none of the four came back to A";
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
    EXPECT_EQ(a->Next().text, "fresh");
    EXPECT_EQ(b->Next().text, "fresh");
    // A command to one user goes there only and counts there only.
    ASSERT_TRUE(a->Send(MakeFrame(a->id, b->id, 12, 2, "for b")));
    EXPECT_EQ(b->Expect(12).text, "for b");
    ASSERT_TRUE(b->Send(ToAll(b->id, 14, 3, "from b")));
    EXPECT_EQ(a->Expect(14).text, "from b");
    EXPECT_EQ(c->Expect(14).text, "from b");
    ASSERT_TRUE(c->Send(ToAll(c->id, 13, 3, "from c")));
    EXPECT_EQ(a->Expect(13).text, "from c");
}

TEST_F(DealerTest, SpoofedFramesAreDroppedAndPartnersLeaveWithTheirOwner) {
    auto ann = Join("Ann");
    auto bob = Join("Bob");
    auto eve = Join("Eve");
    // Eve seats computer partners 2 and 4 of her own; then Ann partner 3.
    ASSERT_TRUE(eve->Send(ToAll(eve->id, NET_ADDAUTO, 0, "\x02", false)));
    ASSERT_TRUE(eve->Send(ToAll(eve->id, NET_ADDAUTO, 1, "\x04", false)));
    ann->Expect(NET_ADDAUTO);
    ann->Expect(NET_ADDAUTO);
    ASSERT_TRUE(ann->Send(ToAll(ann->id, NET_ADDAUTO, 2, "\x03", false)));
    for (RawClient* c :
         {ann.get(), bob.get(), bob.get(), bob.get(), eve.get(), eve.get(), eve.get()})
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
            EXPECT_EQ(c.relayed ? peer->Next().h.from : c.from, c.from);
            EXPECT_EQ(peer->Next().text, "marker");
        }
        spoofed += c.relayed ? 0 : 1;
    }
    // Nobody left the dealer's list: a new user gets the next free id and sees the partners.
    auto dan = Join("Dan");
    EXPECT_EQ(dan->id, 3);
    EXPECT_EQ(ListName(dan->lastReply, 102), "Medra");
    EXPECT_EQ(ListField(dan->lastReply, 102, 2), eve->id);
    // Taking away Ann's partner, or Ann herself (-100 lands on entry 0), is refused.
    for (const char* k : {"\x03", "\x9c"}) {
        ASSERT_TRUE(eve->Send(ToAll(eve->id, NET_DELAUTO, 3, k, false)));
        ++spoofed;
    }
    ASSERT_TRUE(eve->Send(ToAll(eve->id, NET_DELAUTO, 3, "\x04", false)));
    EXPECT_EQ(ann->Expect(NET_DELAUTO).text, "\x04");
    eve->Close();
    const Got notice = ann->Expect(NET_DETACH);
    EXPECT_EQ(notice.h.from, 2);
    EXPECT_EQ(notice.text, "Eve");
    auto fay = Join("Fay");
    EXPECT_EQ(fay->id, 2);
    EXPECT_EQ(ListName(fay->lastReply, 102), "") << "left with its owner";
    EXPECT_EQ(ListName(fay->lastReply, 104), "") << "removed";
    EXPECT_EQ(ListName(fay->lastReply, 103), "Tesiva") << "Ann's stays";
    EXPECT_EQ(ListName(fay->lastReply, ann->id), "Ann");
    dealer.Stop();
    EXPECT_EQ(dealer.Server().Stats().spoofed, spoofed);
}

TEST_F(DealerTest, FloodIsDroppedBeyondTheBudgetAndItsConnectionClosed) {
    auto ann = Join("Ann");
    auto eve = Join("Eve");
    // Far more chat lines than the budget allows, as fast as the socket takes them.
    std::vector<uint8_t> burst;
    for (int i = 0; i < 3000; ++i) {
        const auto f = ToAll(eve->id, CMD_CHAT_CODE, 0, "flood " + std::to_string(i));
        burst.insert(burst.end(), f.begin(), f.end());
    }
    send(eve->fd, burst.data(), burst.size(), MSG_NOSIGNAL);
    EXPECT_TRUE(eve->WaitClosed()) << "the flooding connection is closed";
    // Ann got the burst the budget allows, then the flooder's leave notice.
    uint32_t lines = 0;
    for (auto f = ann->Read(); f && f->h.command != NET_DETACH; f = ann->Read())
        ++lines;
    EXPECT_GE(lines, CConnBudget::kChatBurst);
    EXPECT_LE(lines, CConnBudget::kChatBurst + 2 * CConnBudget::kChatPerSecond);
    // The dealer goes on serving the others.
    ASSERT_TRUE(ann->Send(Marker(ann->id)));
    EXPECT_EQ(ann->Next().text, "marker");
    dealer.Stop();
    EXPECT_EQ(dealer.Server().Stats().closed, 1u);
    EXPECT_GE(dealer.Server().Stats().overBudget, CConnBudget::kDropTally);
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
    EXPECT_GT(stats.queueFull, 0u);
    EXPECT_EQ(stats.overBudget, 0u);
    EXPECT_EQ(stats.closed, 0u) << "chat alone never fills a queue past its limit";
}

TEST(ConnBudget, HonestRatesPassAndAFloodIsCutThenClosed) {
    // An honest program at the fastest table: a few hundred frames a second
    // at most, and now and then a chat line.
    CConnBudget honest(0);
    for (uint32_t ms = 0; ms < 60000; ms += 5) {
        ASSERT_EQ(honest.Charge(ms, false), CConnBudget::Verdict::Pass) << ms;
        ASSERT_TRUE(ms % 2000 != 0 || honest.Charge(ms, true) == CConnBudget::Verdict::Pass) << ms;
    }
    EXPECT_LE(honest.PeakPerSecond(), 201u);
    // At one instant a burst passes, then frames drop until the tally closes.
    for (const bool chat : {true, false}) {
        CConnBudget b(1000);
        uint32_t passed = 0, frames = 0;
        CConnBudget::Verdict v = CConnBudget::Verdict::Pass;
        for (; v != CConnBudget::Verdict::Close && frames < 100000; ++frames) {
            v = b.Charge(1000, chat);
            passed += v == CConnBudget::Verdict::Pass ? 1 : 0;
        }
        EXPECT_EQ(passed, chat ? CConnBudget::kChatBurst : CConnBudget::kFrameBurst);
        EXPECT_EQ(v, CConnBudget::Verdict::Close);
        EXPECT_EQ(frames - passed, CConnBudget::kDropTally + 1);
    }
    // A short excess only drops; the tally drains again.
    CConnBudget b(0);
    for (uint32_t i = 0; i < CConnBudget::kChatBurst; ++i)
        b.Charge(0, true);
    EXPECT_EQ(b.Charge(0, true), CConnBudget::Verdict::Drop);
    EXPECT_EQ(b.Charge(1000, true), CConnBudget::Verdict::Pass) << "refilled after a second";
}

TEST(PortRights, WithTheRightToBindLowPortsOnly250IsAllowedBelow1024) {
    const struct {
        uint16_t port;
        bool privileged;
        bool allowed;
    } cases[] = {
        {250, true, true}, {2500, true, true}, {1024, true, true}, {1023, true, false},
        {80, true, false}, {249, true, false}, {251, true, false}, {22, true, false},
        {80, false, true}, // without the right the system itself refuses
    };
    for (const auto& c : cases) {
        const std::string refused = RefusedDealerPort(c.port, c.privileged);
        EXPECT_EQ(refused.empty(), c.allowed) << c.port << " " << c.privileged;
        EXPECT_TRUE(c.allowed || refused.find(std::to_string(c.port)) != std::string::npos);
    }
    // Dropping the right leaves the process without it, whether it had it or not.
    EXPECT_TRUE(DropBindCapability());
    EXPECT_FALSE(HoldsBindCapability());
}
