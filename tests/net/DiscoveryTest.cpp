// Discovery datagrams: the 12-byte request and the 474-byte answer.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>
#include <tuple>

#include "net/Discovery.h"

using namespace std::string_literals;

namespace {
USERINFO Entry(const std::string& name, uint16_t state) {
    USERINFO e{};
    e.state = state;
    std::strncpy(e.name, name.c_str(), sizeof e.name - 1);
    return e;
}
const char kHost[kHostField] = "dealer-pc";
} // namespace

TEST(DiscoveryRequest, OnlyTheExactTwelveBytesCount) {
    uint8_t req[kRequestSize + 1] = {};
    std::memcpy(req, kRequestText, kRequestSize);
    EXPECT_TRUE(IsDiscoveryRequest(req, kRequestSize));
    EXPECT_FALSE(IsDiscoveryRequest(req, kRequestSize - 1)); // truncated
    EXPECT_FALSE(IsDiscoveryRequest(req, kRequestSize + 1)); // oversized
    EXPECT_FALSE(IsDiscoveryRequest(reinterpret_cast<const uint8_t*>("VESKANSWER\0\0"), 12));
}

TEST(DiscoveryAnswer, LayoutRoundTripAndTheGameActiveOnceFourHaveStarted) {
    USERINFO list[kMaxUsers] = {};
    list[0] = Entry("Ann", 0x8001);
    list[3] = Entry("Bob", 0);
    list[101] = Entry("Ivla", 0x8001);
    list[102] = Entry("Medra", 0x8002);
    uint8_t a[kAnswerSize];
    BuildDiscoveryAnswer(a, kHost, list);
    // The tag, the host, "not active", the count and the first name where peers read them.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(a), 57),
              "VESKANSWER\0\0dealer-pc"s + std::string(31, '\0') + "\0\x04"s + "Ann");
    DiscoveryAnswer out;
    ASSERT_TRUE(ParseDiscoveryAnswer(a, sizeof a, inet_addr("127.0.0.1"), out));
    using Users = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(std::tie(out.address, out.host, out.active, out.users),
              std::tuple(inet_addr("127.0.0.1"), "dealer-pc"s, false,
                         Users{{"Ann", true}, {"Bob", false}, {"Ivla", true}, {"Medra", true}}));
    list[3].state = 0x8003;
    BuildDiscoveryAnswer(a, kHost, list);
    ASSERT_TRUE(ParseDiscoveryAnswer(a, sizeof a, 0, out));
    EXPECT_TRUE(out.active) << "four started";
}

TEST(DiscoveryAnswer, HostileAnswers) {
    USERINFO list[kMaxUsers] = {};
    uint8_t a[kAnswerSize + 1];
    BuildDiscoveryAnswer(a, kHost, list);
    DiscoveryAnswer out;
    EXPECT_FALSE(ParseDiscoveryAnswer(a, kAnswerSize - 1, 0, out)); // truncated
    EXPECT_FALSE(ParseDiscoveryAnswer(a, kAnswerSize + 1, 0, out)); // oversized
    a[0] = 'X';
    EXPECT_FALSE(ParseDiscoveryAnswer(a, kAnswerSize, 0, out)); // wrong tag
    a[0] = 'V';
    a[10] = '!';
    EXPECT_FALSE(ParseDiscoveryAnswer(a, kAnswerSize, 0, out)); // tag without its NUL
    // A count above twenty and texts without their NUL stay inside the answer.
    std::memset(a, 'x', sizeof a);
    std::memcpy(a, "VESKANSWER\0\0", 12);
    a[53] = 255;
    ASSERT_TRUE(ParseDiscoveryAnswer(a, kAnswerSize, 0, out));
    EXPECT_EQ(out.host, std::string(40, 'x'));
    ASSERT_EQ(out.users.size(), kAnswerUsers);
    EXPECT_EQ(out.users[19].first, std::string(20, 'x'));
}
