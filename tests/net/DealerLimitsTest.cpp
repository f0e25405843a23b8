// What the dealer refuses: frames that speak for a user their connection does
// not own, frames beyond a connection's budget (closing one that keeps going),
// chat lines for a peer that does not read; and the ports it may open while it
// holds the right to bind privileged ones.
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <string>
#include <vector>

#include "net/ConnBudget.h"
#include "net/PortRights.h"
#include "tests/net/NetTestSupport.h"

using namespace nettest;

namespace {

class DealerLimitsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dealer.Start()) << dealer.error; }
    std::unique_ptr<RawClient> Join(const std::string& name) {
        auto c = std::make_unique<RawClient>();
        EXPECT_TRUE(c->Connect(dealer.Port()));
        EXPECT_GE(c->Login(name), 0);
        return c;
    }
    // A chat line from `from` that every logged-in connection gets back.
    static std::vector<uint8_t> Marker(uint16_t from) {
        return MakeFrame(from, 0xFFFF, 1, 0, "marker");
    }
    TestDealer dealer;
};

} // namespace

TEST_F(DealerLimitsTest, FramesNamingAnotherUserAreDroppedNotRelayed) {
    auto ann = Join("Ann");
    auto bob = Join("Bob");
    auto eve = Join("Eve");
    // Eve seats a computer partner of her own; Ann one as well.
    ASSERT_TRUE(eve->Send(MakeFrame(eve->id, 0xFFFF, NET_ADDAUTO, 0, "\x02", false)));
    ASSERT_TRUE(ann->ReadCommand(NET_ADDAUTO));
    ASSERT_TRUE(ann->Send(MakeFrame(ann->id, 0xFFFF, NET_ADDAUTO, 1, "\x03", false)));
    for (RawClient* c : {ann.get(), bob.get(), bob.get(), eve.get(), eve.get()})
        ASSERT_TRUE(c->ReadCommand(NET_ADDAUTO));

    struct Case {
        uint16_t from;
        uint16_t command;
        bool relayed;
    };
    const Case cases[] = {
        {ann->id, NET_DETACH, false},   // the false leave of the dealer's user
        {bob->id, NET_DETACH, false},   // of another player
        {103, CMD_CHAT_CODE, false},    // as Ann's computer partner
        {0xFFFF, CMD_CHAT_CODE, false}, // as nobody
        {102, CMD_CHAT_CODE, true},     // as her own computer partner
        {eve->id, CMD_CHAT_CODE, true}, // as herself
    };
    uint32_t spoofed = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(eve->Send(MakeFrame(c.from, 0xFFFF, c.command, 0, "evil")));
        ASSERT_TRUE(eve->Send(Marker(eve->id)));
        for (RawClient* peer : {ann.get(), bob.get()}) {
            auto first = peer->Read();
            ASSERT_TRUE(first) << "from " << c.from;
            if (c.relayed) {
                EXPECT_EQ(HeaderOf(*first).from, c.from);
                first = peer->Read();
                ASSERT_TRUE(first);
            }
            EXPECT_EQ(TextOf(*first), "marker") << "from " << c.from;
        }
        spoofed += c.relayed ? 0 : 1;
    }
    // Nobody left the dealer's list: a new user still gets the next free id.
    auto dan = Join("Dan");
    EXPECT_EQ(dan->id, 3);
    dealer.Stop();
    EXPECT_EQ(dealer.Server().Stats().spoofed, spoofed);
}

TEST_F(DealerLimitsTest, FloodIsDroppedBeyondTheBudgetAndItsConnectionClosed) {
    auto ann = Join("Ann");
    auto eve = Join("Eve");
    // Far more chat lines than the budget allows, as fast as the socket takes them.
    const int sent = 3000;
    std::vector<uint8_t> burst;
    for (int i = 0; i < sent; ++i) {
        const auto f = MakeFrame(eve->id, 0xFFFF, CMD_CHAT_CODE, 0, "flood " + std::to_string(i));
        burst.insert(burst.end(), f.begin(), f.end());
    }
    send(eve->fd, burst.data(), burst.size(), MSG_NOSIGNAL);
    EXPECT_TRUE(eve->WaitClosed()) << "the flooding connection is closed";
    // Ann got the burst the budget allows, then the flooder's leave notice.
    int lines = 0;
    for (;;) {
        auto f = ann->Read();
        ASSERT_TRUE(f);
        if (HeaderOf(*f).command == NET_DETACH) break;
        ++lines;
    }
    EXPECT_GE(lines, static_cast<int>(CConnBudget::kChatBurst));
    EXPECT_LE(lines, static_cast<int>(CConnBudget::kChatBurst + 2 * CConnBudget::kChatPerSecond));
    // The dealer goes on serving the others.
    ASSERT_TRUE(ann->Send(Marker(ann->id)));
    auto back = ann->Read();
    ASSERT_TRUE(back);
    EXPECT_EQ(TextOf(*back), "marker");
    dealer.Stop();
    const DealerStats& stats = dealer.Server().Stats();
    EXPECT_EQ(stats.closed, 1u);
    EXPECT_GE(stats.overBudget, CConnBudget::kDropTally);
}

TEST_F(DealerLimitsTest, ChatIsNotQueuedForAPeerThatDoesNotRead) {
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
            ASSERT_TRUE(t->Send(MakeFrame(t->id, 0xFFFF, CMD_CHAT_CODE, 0, big)));
        // Everybody who reads gets every line.
        for (auto& t : talkers)
            for (size_t i = 0; i < talkers.size(); ++i)
                ASSERT_TRUE(t->ReadCommand(CMD_CHAT_CODE)) << round;
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
        if (ms % 2000 == 0) {
            ASSERT_EQ(honest.Charge(ms, true), CConnBudget::Verdict::Pass) << ms;
        }
    }
    EXPECT_LE(honest.PeakPerSecond(), 201u);

    struct Case {
        bool chat;
        uint32_t burst; // frames that pass at one instant
    };
    for (const Case c :
         {Case{true, CConnBudget::kChatBurst}, Case{false, CConnBudget::kFrameBurst}}) {
        CConnBudget b(1000);
        uint32_t passed = 0;
        CConnBudget::Verdict v = CConnBudget::Verdict::Pass;
        int frames = 0;
        while (v != CConnBudget::Verdict::Close && frames < 100000) {
            v = b.Charge(1000, c.chat);
            passed += v == CConnBudget::Verdict::Pass ? 1 : 0;
            ++frames;
        }
        EXPECT_EQ(passed, c.burst);
        EXPECT_EQ(v, CConnBudget::Verdict::Close);
        EXPECT_EQ(frames - static_cast<int>(passed), static_cast<int>(CConnBudget::kDropTally) + 1);
    }
    // A short excess only drops; the tally drains again.
    CConnBudget b(0);
    for (uint32_t i = 0; i < CConnBudget::kChatBurst; ++i)
        b.Charge(0, true);
    EXPECT_EQ(b.Charge(0, true), CConnBudget::Verdict::Drop);
    EXPECT_EQ(b.Charge(1000, true), CConnBudget::Verdict::Pass) << "refilled after a second";
}

TEST(PortRights, WithTheRightToBindLowPortsOnly250IsAllowedBelow1024) {
    struct Case {
        uint16_t port;
        bool privileged;
        bool allowed;
    };
    const Case cases[] = {
        {250, true, true}, {2500, true, true}, {1024, true, true}, {1023, true, false},
        {80, true, false}, {249, true, false}, {251, true, false}, {22, true, false},
        {80, false, true}, // without the right the system itself refuses
    };
    for (const Case& c : cases) {
        const std::string refused = RefusedDealerPort(c.port, c.privileged);
        EXPECT_EQ(refused.empty(), c.allowed) << c.port << " " << c.privileged;
        if (!c.allowed) {
            EXPECT_NE(refused.find(std::to_string(c.port)), std::string::npos);
        }
    }
    // Dropping the right leaves the process without it, whether it had it or not.
    EXPECT_TRUE(DropBindCapability());
    EXPECT_FALSE(HoldsBindCapability());
}
