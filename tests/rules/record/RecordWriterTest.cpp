// The element writers and the buffers they build.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/record/CRecordBuffer.h"
#include "rules/record/RecordFormat.h"
#include "rules/record/RecordWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const RecordPtr& list) {
    return list ? Bytes(list->Data(), list->Data() + list->Length()) : Bytes{};
}

RecordPtr BufferOf(Bytes bytes) {
    return CRecordBuffer::FromBytes(bytes);
}

TEST(RecordBuffer, JoinAndPrependKeepTheOrder) {
    EXPECT_EQ(BytesOf(JoinBuffers(BufferOf({1, 2}), BufferOf({3, 4, 5}))), (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(BytesOf(JoinBuffers(nullptr, BufferOf({7}))), Bytes{7});
    EXPECT_EQ(BytesOf(JoinBuffers(BufferOf({8}), nullptr)), Bytes{8});
    EXPECT_FALSE(JoinBuffers(nullptr, nullptr));
    RecordPtr list;
    for (int i = 0; i < 1000; ++i)
        list = PutKind(i % 19 + 1, std::move(list));
    ASSERT_EQ(list->Length(), 3000);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(list->Data()[3 * i + 2], (999 - i) % 19 + 1);
}

TEST(RecordBuffer, HoldsAtMost65535BytesAndOverflowSticks) {
    EXPECT_FALSE(CRecordBuffer::FromBytes(Bytes(65536)));
    RecordPtr full = CRecordBuffer::FromBytes(Bytes(65535, 9));
    ASSERT_TRUE(full);
    EXPECT_FALSE(full->Prepend(uint8_t{1}));
    EXPECT_EQ(full->Length(), 65535);
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

TEST(RecordWriter, Encodings) {
    const uint8_t bits[] = {0, 7, 255};
    const std::pair<Bytes, Bytes> cases[] = {
        {BytesOf(PutInteger(0, nullptr)), {0x02, 0x00}},
        {BytesOf(PutInteger(200, nullptr)), {0x02, 0x01, 0xC8}}, // no sign byte
        {BytesOf(PutInteger(255, nullptr)), {0x02, 0x01, 0xFF}},
        {BytesOf(PutInteger(0x0100, nullptr)), {0x02, 0x02, 0x01, 0x00}},
        {BytesOf(PutInteger(0x00010000, nullptr)), {0x02, 0x03, 0x01, 0x00, 0x00}},
        {BytesOf(PutInteger(0x12345678, nullptr)), {0x02, 0x04, 0x12, 0x34, 0x56, 0x78}},
        {BytesOf(PutInteger(-1, nullptr)), {0x02, 0x04, 0xFF, 0xFF, 0xFF, 0xFF}},
        {BytesOf(PutInteger(-300, nullptr)), {0x02, 0x04, 0xFF, 0xFF, 0xFE, 0xD4}},
        {BytesOf(PutBits(3, bits, nullptr)), {0x03, 0x04, 0x00, 0x00, 0x07, 0xFF}},
        {BytesOf(PutBits(0, nullptr, nullptr)), {0x03, 0x01, 0x00}},
        {BytesOf(PutString("hi", nullptr)), {0x13, 0x02, 'h', 'i'}},
        {BytesOf(PutString("", BufferOf({5}))), {5}},
        {BytesOf(PutKind(9, PutInteger(1, nullptr))), {0x06, 0x01, 0x09, 0x02, 0x01, 0x01}},
        {BytesOf(PutSequence(PutKind(5, PutInteger(3, nullptr)), PutInteger(0, nullptr))),
         {0x30, 0x06, 0x06, 0x01, 0x05, 0x02, 0x01, 0x03, 0x02, 0x00}},
        {BytesOf(PutSequence(nullptr, BufferOf({1, 2}))), {1, 2}},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
    EXPECT_FALSE(PutString("", nullptr));
    EXPECT_FALSE(PutSequence(nullptr, nullptr));
}

TEST(RecordWriter, LengthForms) {
    const std::pair<size_t, Bytes> cases[] = {
        {127, {127}},          {128, {0x81, 128}},        {254, {0x81, 254}},
        {255, {0x82, 0, 255}}, {65535, {0x82, 255, 255}},
    };
    for (const auto& [length, expected] : cases) {
        uint8_t out[3];
        const size_t n = EncodeLength(length, out);
        EXPECT_EQ(Bytes(out, out + n), expected) << length;
    }
    Bytes b = BytesOf(PutString(std::string(255, 'b'), nullptr));
    ASSERT_EQ(b.size(), 259u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 5), (Bytes{kTagString, 0x82, 0x00, 0xFF, 'b'}));
    b = BytesOf(PutSequence(PutString(std::string(300, 'x'), nullptr), nullptr));
    ASSERT_EQ(b.size(), 308u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 4), (Bytes{kTagSequence, 0x82, 0x01, 0x30}));
}

} // namespace
