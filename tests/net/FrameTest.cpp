// The frame as it goes on the wire, and the reader that takes frames off a
// socket: whole frames only, never past the buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

#include "net/ConnSocket.h"
#include "net/Frame.h"
#include "tests/net/NetTestSupport.h"

using nettest::MakeFrame;
using Status = CConnSocket::ReadStatus;

namespace {
// A connected pair: the endpoint under test reads from (or writes to) the peer socket.
struct Pair {
    Pair() {
        int sv[2];
        EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, sv), 0);
        CConnSocket::SetNonBlocking(sv[0]);
        ep = std::make_unique<CConnSocket>(sv[0], CConnSocket::SendMode::Wait);
        peer = sv[1];
    }
    ~Pair() {
        if (peer >= 0) close(peer);
    }
    void Write(const void* p, size_t n) { ASSERT_EQ(write(peer, p, n), static_cast<ssize_t>(n)); }
    void Write(const std::vector<uint8_t>& v) { Write(v.data(), v.size()); }
    std::string Text() { return PayloadText(ep->Frame() + 16, ep->FrameLength() - 16); }
    std::unique_ptr<CConnSocket> ep;
    int peer = -1;
};
} // namespace

TEST(Frame, BuildsFramesOnTheWire) {
    Pair p;
    p.ep->m_userId = 2;
    p.ep->m_countedFrames = 7;
    const uint8_t text[] = {0x05, 0x00};
    ASSERT_TRUE(p.ep->BuildFrame(0xFFFF, 9, text, sizeof text, true, 0xFFFF));
    uint8_t got[32];
    ASSERT_EQ(read(p.peer, got, sizeof got), 18);
    const uint8_t expected[18] = {0x02, 0x00, 0xFF, 0xFF, 0x09, 0x00, 0xF0, 0x03, 0x07,
                                  0x00, 0x00, 0x00, 0x12, 0x00, 0x00, 0x00, 0x05, 0x00};
    EXPECT_EQ(std::memcmp(got, expected, sizeof expected), 0);
    std::vector<uint8_t> big(9000, 'a'); // an oversized payload is cut to the buffer
    p.ep->BuildFrame(0xFFFF, 9, big.data(), big.size(), false, 0);
    EXPECT_EQ(GetU32(p.ep->SendBufferData() + 12), kBufferSize);
}

TEST(FrameReader, PiecesAndPairsComeOutAsWholeFrames) {
    Pair p;
    auto f = MakeFrame(1, 0xFFFF, 9, 0, "hello");
    p.Write(f.data(), 5);
    EXPECT_EQ(p.ep->ReadFrame(), Status::Idle) << "a truncated header waits";
    p.Write(f.data() + 5, f.size() - 5);
    ASSERT_EQ(p.ep->ReadFrame(), Status::Frame);
    EXPECT_EQ(std::vector<uint8_t>(p.ep->Frame(), p.ep->Frame() + p.ep->FrameLength()), f);
    std::vector<uint8_t> both = MakeFrame(1, 0xFFFF, 9, 0, "first");
    const auto second = MakeFrame(2, 0xFFFF, 10, 0, "second");
    both.insert(both.end(), second.begin(), second.end());
    p.Write(both);
    ASSERT_EQ(p.ep->ReadFrame(), Status::Frame);
    ASSERT_EQ(p.ep->ReadFrame(), Status::Frame);
    EXPECT_EQ(p.Text(), "second");
}

TEST(FrameReader, HostileFrames) {
    // Lengths below the header or above the buffer are refused; a wrong version is
    // dropped and the next frame read; a peer closing mid-frame closes.
    for (uint32_t length : {15u, 4u, 8001u, 0x7FFFFFFFu}) {
        Pair p;
        auto f = MakeFrame(1, 0xFFFF, 9, 0, "");
        PutU32(f.data() + 12, length);
        p.Write(f);
        p.Write(std::vector<uint8_t>(9000, 0x41));
        EXPECT_EQ(p.ep->ReadFrame(), Status::Refused) << length;
    }
    Pair p;
    auto bad = MakeFrame(1, 0xFFFF, 9, 0, "bad");
    PutU16(bad.data() + 6, 1009);
    p.Write(bad);
    p.Write(MakeFrame(1, 0xFFFF, 9, 0, "good"));
    EXPECT_EQ(p.ep->ReadFrame(), Status::Dropped);
    ASSERT_EQ(p.ep->ReadFrame(), Status::Frame);
    EXPECT_EQ(p.Text(), "good");
    auto f = MakeFrame(1, 0xFFFF, 9, 0, "truncated");
    p.Write(f.data(), f.size() - 3);
    EXPECT_EQ(p.ep->ReadFrame(), Status::Idle);
    close(p.peer);
    p.peer = -1;
    EXPECT_EQ(p.ep->ReadFrame(), Status::Closed);
}
