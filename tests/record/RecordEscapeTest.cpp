// A record inside a text payload: escaping its zero bytes and undoing it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "record/RecordEscape.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(RecordEscape, RoundTripsAndFailsWhenEveryByteOccurs) {
    // With zero bytes, without any, and every value but one.
    std::vector<Bytes> records = {{0x30, 0x04, 0x02, 0x00, 0x01, 0x02, 0x00},
                                  {0x30, 0x03, 0x02, 0x01, 0x05}};
    for (int missing = 1; missing < 256; missing += 37) { // every value but one
        Bytes record;
        for (int v = 0; v < 256; ++v)
            if (v != missing) record.push_back(static_cast<uint8_t>(v));
        records.push_back(record);
    }
    for (const Bytes& record : records) {
        std::string out;
        ASSERT_TRUE(EscapeRecord(record, out));
        Bytes text(out.begin(), out.end());
        text.push_back(0);
        ASSERT_EQ(std::strlen(reinterpret_cast<char*>(text.data())), out.size()) << "no zero byte";
        const size_t n = UnescapeRecord(text.data(), out.size());
        EXPECT_EQ(Bytes(text.begin(), text.begin() + n), record);
    }
    Bytes all(256);
    for (int v = 0; v < 256; ++v)
        all[v] = static_cast<uint8_t>(v);
    std::string out = "stale";
    EXPECT_FALSE(EscapeRecord(all, out));
    EXPECT_TRUE(out.empty());
}

TEST(RecordUnescape, ShortOrForeignTexts) {
    uint8_t two[] = {'Z', 'q'};
    EXPECT_EQ(UnescapeRecord(two, 2), 0u);
    EXPECT_EQ(UnescapeRecord(nullptr, 5), 0u);
    uint8_t text[] = {'a', 'b', 'a', 'Z', 'a', 'x'};
    EXPECT_EQ(UnescapeRecord(text, 5), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 6), std::string("\0b\0Zax", 6))
        << "only the record bytes change";
}

} // namespace
