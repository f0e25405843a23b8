// The frame as it goes on the wire, and the reader that takes frames off a
// socket: whole frames only, never past the buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

#include "tests/net/NetTestSupport.h"

using namespace nettest;
using Status = CConnSocket::ReadStatus;

namespace {
std::string TextRead(const CConnSocket& ep) {
    return PayloadText(ep.Frame() + kHeaderSize, ep.FrameLength() - kHeaderSize);
}
} // namespace

TEST(Frame, BuildsFramesOnTheWire) {
    EndpointPair p;
    p.ep->m_userId = 2;
    p.ep->m_countedFrames = 7;
    const uint8_t text[] = {0x05, 0x00};
    ASSERT_TRUE(p.ep->BuildFrame(kEverybody, 9, text, sizeof text, true, kEverybody));
    uint8_t got[32];
    ASSERT_EQ(read(p.peer, got, sizeof got), 18);
    const uint8_t expected[18] = {0x02, 0x00, 0xFF, 0xFF, 0x09, 0x00, 0xF0, 0x03, 0x07,
                                  0x00, 0x00, 0x00, 0x12, 0x00, 0x00, 0x00, 0x05, 0x00};
    EXPECT_EQ(std::memcmp(got, expected, sizeof expected), 0);
    std::vector<uint8_t> big(kBufferSize + 1000, 'a'); // an oversized payload is cut
    p.ep->BuildFrame(kEverybody, 9, big.data(), big.size(), false, 0);
    EXPECT_EQ(GetU32(p.ep->SendBufferData() + 12), kBufferSize);
}

TEST(FrameReader, PiecesAndPairsComeOutAsWholeFrames) {
    EndpointPair p;
    const auto f = MakeFrame(1, kEverybody, 9, 0, "hello");
    p.Write({f.begin(), f.begin() + 5});
    EXPECT_EQ(p.ep->ReadFrame(), Status::Idle) << "a truncated header waits";
    p.Write({f.begin() + 5, f.end()});
    ASSERT_EQ(p.ep->ReadFrame(), Status::Frame);
    EXPECT_EQ(std::vector<uint8_t>(p.ep->Frame(), p.ep->Frame() + p.ep->FrameLength()), f);
    auto both = MakeFrame(1, kEverybody, 9, 0, "first");
    const auto second = MakeFrame(2, kEverybody, 10, 0, "second");
    both.insert(both.end(), second.begin(), second.end());
    p.Write(both);
    ASSERT_EQ(p.ep->ReadFrame(), Status::Frame);
    ASSERT_EQ(p.ep->ReadFrame(), Status::Frame);
    EXPECT_EQ(TextRead(*p.ep), "second");
}

TEST(FrameReader, HostileFrames) {
    // Lengths below the header or above the buffer are refused.
    for (uint32_t length :
         {uint32_t{kHeaderSize - 1}, 4u, uint32_t{kBufferSize + 1}, 0x7FFFFFFFu}) {
        EndpointPair p;
        auto f = MakeFrame(1, kEverybody, 9, 0, "");
        PutU32(f.data() + 12, length);
        p.Write(f);
        p.Write(std::vector<uint8_t>(kBufferSize + 1000, 0x41));
        EXPECT_EQ(p.ep->ReadFrame(), Status::Refused) << length;
    }
    // A wrong version is dropped and the next frame read; a peer closing mid-frame closes.
    EndpointPair p;
    auto bad = MakeFrame(1, kEverybody, 9, 0, "bad");
    PutU16(bad.data() + 6, kFrameVersion + 1);
    p.Write(bad);
    p.Write(MakeFrame(1, kEverybody, 9, 0, "good"));
    EXPECT_EQ(p.ep->ReadFrame(), Status::Dropped);
    ASSERT_EQ(p.ep->ReadFrame(), Status::Frame);
    EXPECT_EQ(TextRead(*p.ep), "good");
    const auto f = MakeFrame(1, kEverybody, 9, 0, "truncated");
    p.Write({f.begin(), f.end() - 3});
    EXPECT_EQ(p.ep->ReadFrame(), Status::Idle);
    close(p.peer);
    p.peer = -1;
    EXPECT_EQ(p.ep->ReadFrame(), Status::Closed);
}
