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
    std::unique_ptr<CConnSocket> ep;
    int peer = -1;
};
} // namespace

TEST(Frame, BuildsTheEighteenByteExample) {
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
}

TEST(Frame, SenderIdOverridesOwnIdUnlessMinusOne) {
    Pair p;
    p.ep->m_userId = 3;
    p.ep->BuildFrame(0xFFFF, 9, "x", 2, false, 103);
    EXPECT_EQ(GetU16(p.ep->SendBufferData()), 103);
    p.ep->BuildFrame(0xFFFF, 9, "x", 2, false, 0xFFFF);
    EXPECT_EQ(GetU16(p.ep->SendBufferData()), 3);
}

TEST(Frame, OversizedPayloadIsCutToTheBuffer) {
    Pair p;
    std::vector<uint8_t> big(9000, 'a');
    p.ep->BuildFrame(0xFFFF, 9, big.data(), big.size(), false, 0);
    EXPECT_EQ(p.ep->SendBufferLength(), kBufferSize);
    EXPECT_EQ(GetU32(p.ep->SendBufferData() + 12), kBufferSize);
}

TEST(Frame, VersionCheck) {
    auto f = MakeFrame(1, 0xFFFF, 9, 0, "a");
    EXPECT_TRUE(IsFrameAcceptable(f.data(), f.size()));
    PutU16(f.data() + 6, 1009);
    EXPECT_FALSE(IsFrameAcceptable(f.data(), f.size()));
    PutU16(f.data() + 6, 0x8000); // negative as a signed number: accepted
    EXPECT_TRUE(IsFrameAcceptable(f.data(), f.size()));
    PutU16(f.data() + 6, 1008);
    EXPECT_FALSE(IsFrameAcceptable(f.data(), f.size() - 1));
}

TEST(Frame, CountedCommands) {
    for (uint16_t c : {1, 4, 5, 6, 16, 17})
        EXPECT_FALSE(IsCountedCommand(c)) << c;
    for (uint16_t c : {2, 3, 7, 9, 18, 19, 100})
        EXPECT_TRUE(IsCountedCommand(c)) << c;
}

TEST(Frame, PayloadTextStopsAtTheFrameEnd) {
    const uint8_t noNul[3] = {'a', 'b', 'c'};
    EXPECT_EQ(PayloadText(noNul, 3), "abc");
    const uint8_t withNul[4] = {'a', 0, 'c', 0};
    EXPECT_EQ(PayloadText(withNul, 4), "a");
    EXPECT_EQ(PayloadText(withNul, 0), "");
    EXPECT_EQ(PayloadU16(noNul, 1), 0);
}

// --- the frame reader, fed hostile and awkward input ---

TEST(FrameReader, FrameSplitAcrossSegmentsCompletesOnce) {
    Pair p;
    auto f = MakeFrame(1, 0xFFFF, 9, 0, "hello");
    p.Write(f.data(), 5);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Idle);
    p.Write(f.data() + 5, 12);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Idle);
    p.Write(f.data() + 17, f.size() - 17);
    ASSERT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Frame);
    EXPECT_EQ(p.ep->FrameLength(), f.size());
    EXPECT_EQ(std::memcmp(p.ep->Frame(), f.data(), f.size()), 0);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Idle);
}

TEST(FrameReader, TwoFramesInOneSegmentAreTakenOneAtATime) {
    Pair p;
    auto a = MakeFrame(1, 0xFFFF, 9, 0, "first");
    auto b = MakeFrame(2, 0xFFFF, 10, 0, "second");
    std::vector<uint8_t> both = a;
    both.insert(both.end(), b.begin(), b.end());
    p.Write(both);
    ASSERT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Frame);
    EXPECT_EQ(p.ep->Header().command, 9);
    ASSERT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Frame);
    EXPECT_EQ(p.ep->Header().command, 10);
    EXPECT_EQ(PayloadText(p.ep->Frame() + 16, p.ep->FrameLength() - 16), "second");
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Idle);
}

TEST(FrameReader, LengthBelowHeaderIsRefused) {
    Pair p;
    auto f = MakeFrame(1, 0xFFFF, 9, 0, "");
    PutU32(f.data() + 12, 15);
    p.Write(f);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Refused);
}

TEST(FrameReader, LengthAboveBufferIsRefusedBeforeReading) {
    Pair p;
    auto f = MakeFrame(1, 0xFFFF, 9, 0, "");
    PutU32(f.data() + 12, 8001);
    p.Write(f);
    std::vector<uint8_t> rest(9000, 0x41);
    p.Write(rest);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Refused);
}

TEST(FrameReader, LengthOfExactlyTheBufferIsRead) {
    Pair p;
    std::string text(kMaxPayload - 1, 'z');
    auto f = MakeFrame(1, 0xFFFF, 9, 0, text);
    ASSERT_EQ(f.size(), kBufferSize);
    std::thread writer([&] { p.Write(f); });
    CConnSocket::ReadStatus s = CConnSocket::ReadStatus::Idle;
    ASSERT_TRUE(nettest::WaitUntil(
        [&] { return (s = p.ep->ReadFrame()) != CConnSocket::ReadStatus::Idle; }));
    writer.join();
    EXPECT_EQ(s, CConnSocket::ReadStatus::Frame);
    EXPECT_EQ(p.ep->FrameLength(), kBufferSize);
}

TEST(FrameReader, HeaderOnlyFrameIsAccepted) {
    Pair p;
    auto f = MakeFrame(1, 0xFFFF, 9, 0, "", false);
    p.Write(f);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Frame);
    EXPECT_EQ(p.ep->FrameLength(), 16u);
}

TEST(FrameReader, WrongVersionIsDroppedAndTheNextFrameStillRead) {
    Pair p;
    auto bad = MakeFrame(1, 0xFFFF, 9, 0, "bad");
    PutU16(bad.data() + 6, 1009);
    auto good = MakeFrame(1, 0xFFFF, 9, 0, "good");
    p.Write(bad);
    p.Write(good);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Dropped);
    ASSERT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Frame);
    EXPECT_EQ(PayloadText(p.ep->Frame() + 16, p.ep->FrameLength() - 16), "good");
}

TEST(FrameReader, PeerClosingMidFrameIsClosed) {
    Pair p;
    auto f = MakeFrame(1, 0xFFFF, 9, 0, "truncated");
    p.Write(f.data(), f.size() - 3);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Idle);
    close(p.peer);
    p.peer = -1;
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Closed);
}

TEST(FrameReader, TruncatedHeaderWaits) {
    Pair p;
    const uint8_t part[7] = {1, 0, 0xFF, 0xFF, 9, 0, 0xF0};
    p.Write(part, sizeof part);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Idle);
    EXPECT_EQ(p.ep->ReadFrame(), CConnSocket::ReadStatus::Idle);
}
