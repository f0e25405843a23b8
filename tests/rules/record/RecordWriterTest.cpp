// The element writers and the buffers they build.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/record/CRecordBuffer.h"
#include "rules/record/RecordFormat.h"
#include "rules/record/RecordWriter.h"

namespace {

std::vector<uint8_t> BytesOf(const RecordPtr& list) {
    if (!list) return {};
    return {list->Data(), list->Data() + list->Length()};
}

RecordPtr BufferOf(std::vector<uint8_t> bytes) {
    return CRecordBuffer::FromBytes(bytes);
}

using Bytes = std::vector<uint8_t>;

TEST(RecordBuffer, JoinPutsTheFirstInFront) {
    RecordPtr joined = JoinBuffers(BufferOf({1, 2}), BufferOf({3, 4, 5}));
    ASSERT_TRUE(joined);
    EXPECT_EQ(BytesOf(joined), (Bytes{1, 2, 3, 4, 5}));
}

TEST(RecordBuffer, JoinWithAnAbsentBufferYieldsTheOther) {
    EXPECT_EQ(BytesOf(JoinBuffers(nullptr, BufferOf({7}))), Bytes{7});
    EXPECT_EQ(BytesOf(JoinBuffers(BufferOf({8}), nullptr)), Bytes{8});
    EXPECT_FALSE(JoinBuffers(nullptr, nullptr));
}

TEST(RecordBuffer, HoldsAtMost65535Bytes) {
    EXPECT_FALSE(CRecordBuffer::FromBytes(std::vector<uint8_t>(65536)));
    RecordPtr full = CRecordBuffer::FromBytes(std::vector<uint8_t>(65535, 9));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->Length(), 65535);
    EXPECT_FALSE(full->Prepend(uint8_t{1}));
    EXPECT_EQ(full->Length(), 65535);

    RecordPtr over = JoinBuffers(BufferOf({1}), std::move(full));
    ASSERT_TRUE(over);
    EXPECT_TRUE(over->IsOverflow());
    // An overflow stays an overflow whatever is written in front of it.
    over = PutInteger(5, std::move(over));
    EXPECT_TRUE(over->IsOverflow());
    over = PutSequence(std::move(over), BufferOf({1}));
    EXPECT_TRUE(over->IsOverflow());
}

TEST(RecordBuffer, PrependingManyPiecesKeepsTheirOrder) {
    RecordPtr list;
    for (int i = 0; i < 1000; ++i)
        list = PutKind(i % 19 + 1, std::move(list));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->Length(), 3000);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(list->Data()[3 * i], kTagKind);
        EXPECT_EQ(list->Data()[3 * i + 2], (999 - i) % 19 + 1);
    }
}

TEST(RecordInteger, ZeroHasEmptyContent) {
    EXPECT_EQ(BytesOf(PutInteger(0, nullptr)), (Bytes{0x02, 0x00}));
}

TEST(RecordInteger, TwoHundredIsOneByteWithoutSignByte) {
    EXPECT_EQ(BytesOf(PutInteger(200, nullptr)), (Bytes{0x02, 0x01, 0xC8}));
    EXPECT_EQ(BytesOf(PutInteger(0x80, nullptr)), (Bytes{0x02, 0x01, 0x80}));
    EXPECT_EQ(BytesOf(PutInteger(255, nullptr)), (Bytes{0x02, 0x01, 0xFF}));
}

TEST(RecordInteger, NegativeTakesFourBytes) {
    EXPECT_EQ(BytesOf(PutInteger(-1, nullptr)), (Bytes{0x02, 0x04, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(BytesOf(PutInteger(-300, nullptr)), (Bytes{0x02, 0x04, 0xFF, 0xFF, 0xFE, 0xD4}));
}

TEST(RecordInteger, WideValuesAreBigEndian) {
    EXPECT_EQ(BytesOf(PutInteger(0x0100, nullptr)), (Bytes{0x02, 0x02, 0x01, 0x00}));
    EXPECT_EQ(BytesOf(PutInteger(0x12345678, nullptr)),
              (Bytes{0x02, 0x04, 0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(BytesOf(PutInteger(0x00010000, nullptr)), (Bytes{0x02, 0x03, 0x01, 0x00, 0x00}));
}

TEST(RecordLength, ThreeForms) {
    uint8_t out[3];
    ASSERT_EQ(EncodeLength(127, out), 1u);
    EXPECT_EQ(out[0], 127);
    ASSERT_EQ(EncodeLength(128, out), 2u);
    EXPECT_EQ(out[0], 0x81);
    EXPECT_EQ(out[1], 128);
    ASSERT_EQ(EncodeLength(200, out), 2u);
    EXPECT_EQ(out[0], 0x81);
    EXPECT_EQ(out[1], 0xC8);
    ASSERT_EQ(EncodeLength(254, out), 2u);
    EXPECT_EQ(out[1], 254);
    ASSERT_EQ(EncodeLength(255, out), 3u);
    EXPECT_EQ(out[0], 0x82);
    EXPECT_EQ(out[1], 0x00);
    EXPECT_EQ(out[2], 0xFF);
    ASSERT_EQ(EncodeLength(65535, out), 3u);
    EXPECT_EQ(out[1], 0xFF);
    EXPECT_EQ(out[2], 0xFF);
}

TEST(RecordLength, ContentOf200And255Bytes) {
    const std::string text200(200, 'a');
    Bytes b = BytesOf(PutString(text200, nullptr));
    ASSERT_EQ(b.size(), 203u);
    EXPECT_EQ(b[0], kTagString);
    EXPECT_EQ(b[1], 0x81);
    EXPECT_EQ(b[2], 0xC8);

    const std::string text255(255, 'b');
    b = BytesOf(PutString(text255, nullptr));
    ASSERT_EQ(b.size(), 259u);
    EXPECT_EQ(b[1], 0x82);
    EXPECT_EQ(b[2], 0x00);
    EXPECT_EQ(b[3], 0xFF);
    EXPECT_EQ(b[4], 'b');
}

TEST(RecordBits, FirstContentByteIsZero) {
    const uint8_t data[] = {0, 7, 255};
    EXPECT_EQ(BytesOf(PutBits(3, data, nullptr)), (Bytes{0x03, 0x04, 0x00, 0x00, 0x07, 0xFF}));
    EXPECT_EQ(BytesOf(PutBits(0, nullptr, nullptr)), (Bytes{0x03, 0x01, 0x00}));
}

TEST(RecordString, EmptyTextWritesNothing) {
    EXPECT_FALSE(PutString("", nullptr));
    EXPECT_EQ(BytesOf(PutString("", BufferOf({5}))), Bytes{5});
    EXPECT_EQ(BytesOf(PutString("hi", nullptr)), (Bytes{0x13, 0x02, 'h', 'i'}));
}

TEST(RecordKind, IsAnObjectIdentifierInFrontOfTheList) {
    EXPECT_EQ(BytesOf(PutKind(9, PutInteger(1, nullptr))),
              (Bytes{0x06, 0x01, 0x09, 0x02, 0x01, 0x01}));
}

TEST(RecordSequence, WrapsTheContentInFrontOfTheList) {
    RecordPtr seq = PutSequence(PutKind(5, PutInteger(3, nullptr)), PutInteger(0, nullptr));
    EXPECT_EQ(BytesOf(seq), (Bytes{0x30, 0x06, 0x06, 0x01, 0x05, 0x02, 0x01, 0x03, 0x02, 0x00}));
}

TEST(RecordSequence, NothingWithoutContent) {
    EXPECT_FALSE(PutSequence(nullptr, nullptr));
    EXPECT_EQ(BytesOf(PutSequence(nullptr, BufferOf({1, 2}))), (Bytes{1, 2}));
}

TEST(RecordSequence, LongContentUsesTheTwoByteLength) {
    RecordPtr content = PutString(std::string(300, 'x'), nullptr);
    Bytes b = BytesOf(PutSequence(std::move(content), nullptr));
    ASSERT_EQ(b.size(), 4u + 4u + 300u);
    EXPECT_EQ(b[0], kTagSequence);
    EXPECT_EQ(b[1], 0x82);
    EXPECT_EQ((b[2] << 8) | b[3], 304);
}

TEST(RecordString, TooLongForARecordOverflows) {
    RecordPtr list = PutString(std::string(65533, 'x'), nullptr);
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->IsOverflow());
    list = PutString(std::string(65531, 'x'), nullptr);
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->IsOverflow());
    EXPECT_EQ(list->Length(), 65535);
}

} // namespace
