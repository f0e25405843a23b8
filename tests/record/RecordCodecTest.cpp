// The record encoding on its own: the element writers, the walker over hostile
// records, and the escaping of zero bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "record/CBerWalker.h"
#include "record/CRecordBuffer.h"
#include "record/RecordEscape.h"
#include "record/RecordFormat.h"
#include "record/RecordWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const RecordPtr& list) {
    return list ? Bytes(list->Bytes().begin(), list->Bytes().end()) : Bytes{};
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

struct Element {
    uint8_t tag;
    Bytes content;
    bool operator==(const Element&) const = default;
};

class CLogWalker : public CBerWalker {
public:
    std::vector<Element> log;

protected:
    void ApplyElement(uint8_t tag, const uint8_t* content, size_t length) override {
        log.push_back({tag, Bytes(content, content + length)});
    }
};

int WalkBytes(const Bytes& bytes) {
    CLogWalker walker;
    return walker.Walk(bytes);
}

Bytes Nested(int depth) {
    Bytes b = {0x02, 0x00};
    for (int i = 0; i < depth; ++i) {
        Bytes outer = {0x30, static_cast<uint8_t>(b.size())};
        outer.insert(outer.end(), b.begin(), b.end());
        b = outer;
    }
    return b;
}

TEST(RecordWalk, TruncatedOversizedTooDeepOrUnknownFail) {
    Bytes big(65536, 0);
    big[0] = 0x04;
    big[1] = 0x82;
    big[2] = big[3] = 0xFF;
    const Bytes cases[] = {
        {},                                   // empty
        {0x30, 0x82, 0x00},                   // truncated length bytes
        {0x30, 0x02, 0x02, 0x82, 0x00, 0x00}, // length bytes beyond the sequence
        {0x13, 0x82, 0xFF, 0xFF, 'a'},        // content longer than the bytes
        {0x31, 0x81, 0x02, 0x02, 0x00},       // a set needs the short length form
        {0x05, 0x00},                         // unknown tags
        {0xA0, 0x00},                         //
        Nested(kMaxRecordDepth + 1),          // too deep
        big,                                  // over the record size
    };
    for (const Bytes& bytes : cases)
        EXPECT_EQ(WalkBytes(bytes), -1) << bytes.size() << " bytes";
    EXPECT_EQ(WalkBytes({0x30, 0x02, 0x02, 0x00, 0xEE}), 4) << "the outer element only";
    EXPECT_EQ(WalkBytes(Nested(kMaxRecordDepth)), static_cast<int>(Nested(kMaxRecordDepth).size()));
    RecordPtr list = PutSequence(PutKind(9, PutInteger(1234, nullptr)), nullptr);
    const Bytes whole = BytesOf(list);
    for (size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_EQ(WalkBytes(Bytes(whole.begin(), whole.begin() + cut)), -1) << "cut at " << cut;
    CLogWalker unknown; // nothing past the failure is handed on
    EXPECT_EQ(unknown.Walk(Bytes{0x30, 0x06, 0x02, 0x01, 0x05, 0x05, 0x01, 0x00}), -1);
    EXPECT_EQ(unknown.log, (std::vector<Element>{{kTagInteger, {5}}}));
}

TEST(RecordEscape, RoundTripsAndRefusesWhatItCannotTake) {
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
    // Short or foreign texts.
    uint8_t two[] = {'Z', 'q'};
    EXPECT_EQ(UnescapeRecord(two, 2), 0u);
    EXPECT_EQ(UnescapeRecord(nullptr, 5), 0u);
    uint8_t text[] = {'a', 'b', 'a', 'Z', 'a', 'x'};
    EXPECT_EQ(UnescapeRecord(text, 5), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 6), std::string("\0b\0Zax", 6))
        << "only the record bytes change";
}

} // namespace
