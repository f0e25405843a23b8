// A record inside a text payload: escaping its zero bytes and undoing it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "rules/record/RecordEscape.h"

namespace {

using Bytes = std::vector<uint8_t>;

// What the receiver does: unescape the NUL-terminated text in place.
Bytes RoundTrip(const std::string& escaped) {
    std::vector<uint8_t> text(escaped.begin(), escaped.end());
    text.push_back(0);
    const size_t n = UnescapeRecord(text.data(), std::strlen(reinterpret_cast<char*>(text.data())));
    return Bytes(text.begin(), text.begin() + n);
}

TEST(RecordEscape, WithoutZeroBytesEndsWithTwoLowerZ) {
    const Bytes record = {0x30, 0x03, 0x02, 0x01, 0x05};
    std::string out;
    ASSERT_TRUE(EscapeRecord(record, out));
    EXPECT_EQ(out, std::string("\x30\x03\x02\x01\x05zz", 7));
    EXPECT_EQ(RoundTrip(out), record);
}

TEST(RecordEscape, ZeroBytesBecomeTheSmallestAbsentValue) {
    const Bytes record = {0x30, 0x04, 0x02, 0x00, 0x01, 0x02, 0x00};
    std::string out;
    ASSERT_TRUE(EscapeRecord(record, out));
    // 1, 2 and 4 occur; 3 is the smallest value missing.
    ASSERT_EQ(out.size(), record.size() + 2);
    EXPECT_EQ(out.find('\0'), std::string::npos);
    EXPECT_EQ(out[out.size() - 2], 'Z');
    EXPECT_EQ(out.back(), '\x03');
    EXPECT_EQ(static_cast<uint8_t>(out[3]), 3);
    EXPECT_EQ(RoundTrip(out), record);
}

TEST(RecordEscape, RoundTripOfEveryValueButOne) {
    for (int missing = 1; missing < 256; missing += 37) {
        Bytes record;
        for (int v = 0; v < 256; ++v)
            if (v != missing) record.push_back(static_cast<uint8_t>(v));
        std::string out;
        ASSERT_TRUE(EscapeRecord(record, out));
        EXPECT_EQ(static_cast<uint8_t>(out.back()), missing);
        EXPECT_EQ(RoundTrip(out), record);
    }
}

TEST(RecordEscape, EveryByteValuePresentCannotBeEscaped) {
    Bytes record;
    for (int v = 0; v < 256; ++v)
        record.push_back(static_cast<uint8_t>(v));
    std::string out = "stale";
    EXPECT_FALSE(EscapeRecord(record, out));
    EXPECT_TRUE(out.empty());
}

TEST(RecordEscape, EmptyRecord) {
    std::string out;
    ASSERT_TRUE(EscapeRecord({}, out));
    EXPECT_EQ(out, "zz");
    EXPECT_TRUE(RoundTrip(out).empty());
}

TEST(RecordUnescape, ShortTextsHoldNoRecord) {
    uint8_t one[] = {'Z'};
    EXPECT_EQ(UnescapeRecord(one, 1), 0u);
    EXPECT_EQ(one[0], 'Z');
    EXPECT_EQ(UnescapeRecord(nullptr, 5), 0u);
    uint8_t two[] = {'Z', 'q'};
    EXPECT_EQ(UnescapeRecord(two, 2), 0u);
    EXPECT_EQ(two[1], 'q');
}

TEST(RecordUnescape, WithoutUpperZTheTextStays) {
    uint8_t text[] = {'a', 'b', 'a', 'z', 'z'};
    EXPECT_EQ(UnescapeRecord(text, 5), 3u);
    EXPECT_EQ(text[0], 'a');
    EXPECT_EQ(text[2], 'a');
}

TEST(RecordUnescape, OnlyTheRecordBytesChange) {
    uint8_t text[] = {'a', 'b', 'a', 'Z', 'a', 'x'};
    EXPECT_EQ(UnescapeRecord(text, 5), 3u);
    EXPECT_EQ(text[0], 0);
    EXPECT_EQ(text[1], 'b');
    EXPECT_EQ(text[2], 0);
    EXPECT_EQ(text[3], 'Z');
    EXPECT_EQ(text[4], 'a');
    EXPECT_EQ(text[5], 'x');
}

} // namespace
