// The element writers and the buffers they build.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "record/CRecordBuffer.h"
#include "record/RecordFormat.h"
#include "record/RecordWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const RecordPtr& list) {
    return list ? Bytes(list->Data(), list->Data() + list->Length()) : Bytes{};
}

RecordPtr BufferOf(Bytes bytes) {
    return CRecordBuffer::FromBytes(bytes);
}

TEST(RecordWriter, Encodings) {
    const uint8_t bits[] = {0, 7, 255};
    const std::pair<Bytes, Bytes> cases[] = {
        {BytesOf(PutInteger(200, nullptr)), {0x02, 0x01, 0xC8}}, // no sign byte
        {BytesOf(PutInteger(0x00010000, nullptr)), {0x02, 0x03, 0x01, 0x00, 0x00}},
        {BytesOf(PutInteger(-300, nullptr)), {0x02, 0x04, 0xFF, 0xFF, 0xFE, 0xD4}},
        {BytesOf(PutBits(3, bits, nullptr)), {0x03, 0x04, 0x00, 0x00, 0x07, 0xFF}},
        {BytesOf(PutString("", BufferOf({5}))), {5}},
        {BytesOf(PutSequence(PutKind(5, PutInteger(3, nullptr)), PutInteger(0, nullptr))),
         {0x30, 0x06, 0x06, 0x01, 0x05, 0x02, 0x01, 0x03, 0x02, 0x00}},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
    const std::pair<size_t, Bytes> lengths[] = {
        {127, {127}}, {128, {0x81, 128}}, {255, {0x82, 0, 255}}, {65535, {0x82, 255, 255}}};
    for (const auto& [length, expected] : lengths) {
        uint8_t out[3];
        const size_t n = EncodeLength(length, out);
        EXPECT_EQ(Bytes(out, out + n), expected) << length;
    }
}

TEST(RecordWriter, HoldsAtMost65535BytesAndOverflowSticks) {
    EXPECT_FALSE(CRecordBuffer::FromBytes(Bytes(65536)));
    RecordPtr full = CRecordBuffer::FromBytes(Bytes(65535, 9));
    ASSERT_TRUE(full);
    EXPECT_FALSE(full->Prepend(uint8_t{1}));
    RecordPtr over = JoinBuffers(BufferOf({1}), std::move(full));
    ASSERT_TRUE(over);
    EXPECT_TRUE(over->IsOverflow());
    over = PutSequence(PutInteger(5, std::move(over)), BufferOf({1}));
    EXPECT_TRUE(over->IsOverflow());
    EXPECT_TRUE(PutString(std::string(65533, 'x'), nullptr)->IsOverflow());
    RecordPtr fits = PutString(std::string(65531, 'x'), nullptr);
    EXPECT_FALSE(fits->IsOverflow());
    EXPECT_EQ(fits->Length(), 65535);
}

} // namespace
