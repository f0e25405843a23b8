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

TEST(RecordEscape, RoundTrips) {
    std::vector<Bytes> records = {{}, {0x30, 0x03, 0x02, 0x01, 0x05}};
    for (int missing = 1; missing < 256; missing += 37) { // every value but one
        Bytes record;
        for (int v = 0; v < 256; ++v)
            if (v != missing) record.push_back(static_cast<uint8_t>(v));
        records.push_back(record);
    }
    for (const Bytes& record : records) {
        std::string out;
        ASSERT_TRUE(EscapeRecord(record, out));
        EXPECT_EQ(out.find('\0'), std::string::npos);
        EXPECT_EQ(RoundTrip(out), record);
    }
    std::string out;
    ASSERT_TRUE(EscapeRecord(records[1], out));
    EXPECT_EQ(out, std::string("\x30\x03\x02\x01\x05zz", 7)) << "no zero byte: two lower z";
    // 1, 2 and 4 occur: zero bytes become 3, the smallest value missing.
    const Bytes zeros = {0x30, 0x04, 0x02, 0x00, 0x01, 0x02, 0x00};
    ASSERT_TRUE(EscapeRecord(zeros, out));
    EXPECT_EQ(out, std::string("\x30\x04\x02\x03\x01\x02\x03Z\x03", 9));
}

TEST(RecordEscape, EveryByteValuePresentCannotBeEscaped) {
    Bytes record;
    for (int v = 0; v < 256; ++v)
        record.push_back(static_cast<uint8_t>(v));
    std::string out = "stale";
    EXPECT_FALSE(EscapeRecord(record, out));
    EXPECT_TRUE(out.empty());
}

TEST(RecordUnescape, ShortOrForeignTexts) {
    uint8_t one[] = {'Z'};
    EXPECT_EQ(UnescapeRecord(one, 1), 0u);
    EXPECT_EQ(UnescapeRecord(nullptr, 5), 0u);
    uint8_t two[] = {'Z', 'q'};
    EXPECT_EQ(UnescapeRecord(two, 2), 0u);
    EXPECT_EQ(two[1], 'q');
    uint8_t plain[] = {'a', 'b', 'a', 'z', 'z'};
    EXPECT_EQ(UnescapeRecord(plain, 5), 3u);
    EXPECT_EQ(plain[0], 'a') << "without upper Z the text stays";
    uint8_t text[] = {'a', 'b', 'a', 'Z', 'a', 'x'};
    EXPECT_EQ(UnescapeRecord(text, 5), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 6), std::string("\0b\0Zax", 6))
        << "only the record bytes change";
}

} // namespace
