// Walking records, good and hostile, with a walker that logs what it is handed.
#include <gtest/gtest.h>

#include <vector>

#include "rules/record/CBerWalker.h"
#include "rules/record/RecordFormat.h"
#include "rules/record/RecordWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

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

TEST(RecordWalk, HandsEveryPrimitiveInOrder) {
    const uint8_t bits[] = {9, 8};
    RecordPtr list = PutSequence(PutKind(2, PutInteger(200, nullptr)), nullptr);
    list = PutSequence(
        JoinBuffers(std::move(list), PutKind(17, PutBits(2, bits, PutString("ab", nullptr)))),
        nullptr);
    CLogWalker w;
    const Bytes bytes(list->Data(), list->Data() + list->Length());
    EXPECT_EQ(w.Walk(bytes), static_cast<int>(bytes.size()));
    EXPECT_EQ(w.log, (std::vector<Element>{{kTagKind, {2}},
                                           {kTagInteger, {0xC8}},
                                           {kTagKind, {17}},
                                           {kTagBitString, {9, 8}},
                                           {kTagString, {'a', 'b'}}}));
    // Read-only tags are handed on too; an empty bit string has no content.
    CLogWalker r;
    EXPECT_EQ(r.Walk(Bytes{0x30, 0x0F, 0x04, 0x01, 0x41, 0x17, 0x01, 0x42, 0x31, 0x03, 0x02, 0x01,
                           0x07, 0x03, 0x00, 0x30, 0x00}),
              17);
    EXPECT_EQ(r.log, (std::vector<Element>{{kTagOctetString, {0x41}},
                                           {kTagTime, {0x42}},
                                           {kTagInteger, {7}},
                                           {kTagBitString, {}}}));
}

TEST(RecordWalk, WellFormedSizes) {
    const std::pair<Bytes, int> cases[] = {
        {{0x30, 0x02, 0x02, 0x00, 0xEE, 0xEE, 0xEE}, 4}, // the outer element only
        {{0x04, 0x80, 0x00, 0x01, 0x55}, 5},             // 0x80 and 0x83 read like 0x82
        {{0x04, 0x83, 0x00, 0x02, 0x55, 0x56}, 6},
        {{0x04, 0x81, 0x01, 0x55}, 4},
        {{0x31, 0x02, 0x02, 0x00}, 4},
        {Nested(kMaxRecordDepth), static_cast<int>(Nested(kMaxRecordDepth).size())},
    };
    for (const auto& [bytes, size] : cases)
        EXPECT_EQ(WalkBytes(bytes), size)
            << "first bytes " << int(bytes[0]) << " " << int(bytes[1]);
    Bytes big(65535, 0);
    big[0] = 0x04;
    big[1] = 0x82;
    big[2] = 0xFF;
    big[3] = 0xFB; // 65531 bytes of content: exactly 65535 in all
    EXPECT_EQ(WalkBytes(big), 65535);
}

TEST(RecordWalkHostile, TruncatedOversizedOrUnknownFail) {
    const Bytes cases[] = {
        {},                                   // empty
        {0x30},                               // one byte
        {0x02},                               //
        {0x30, 0x81},                         // truncated length bytes
        {0x30, 0x82, 0x00},                   //
        {0x30, 0x02, 0x02, 0x82, 0x00, 0x00}, // length bytes beyond the sequence
        {0x02, 0x05, 0x01},                   // content longer than the bytes
        {0x13, 0x82, 0xFF, 0xFF, 'a'},        //
        {0x31, 0x81, 0x02, 0x02, 0x00},       // a set needs the short length form
        {0x00, 0x00},                         // unknown tags
        {0x05, 0x00},                         //
        {0x10, 0x00},                         //
        {0x32, 0x00},                         //
        {0xA0, 0x00},                         //
        {0xFF, 0x00},                         //
        Nested(kMaxRecordDepth + 1),          // too deep
    };
    for (const Bytes& bytes : cases)
        EXPECT_EQ(WalkBytes(bytes), -1) << bytes.size() << " bytes";
    RecordPtr list = PutSequence(PutKind(9, PutInteger(1234, nullptr)), nullptr);
    const Bytes whole(list->Data(), list->Data() + list->Length());
    for (size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_EQ(WalkBytes(Bytes(whole.begin(), whole.begin() + cut)), -1) << "cut at " << cut;
    Bytes big(65536, 0);
    big[0] = 0x04;
    big[1] = 0x82;
    big[2] = big[3] = 0xFF;
    EXPECT_EQ(WalkBytes(big), -1) << "over the record size";
}

TEST(RecordWalkHostile, NothingPastTheFailureIsHanded) {
    // The integer claims 3 bytes; its sequence holds 3 bytes in all.
    CLogWalker overrun;
    EXPECT_EQ(overrun.Walk(Bytes{0x30, 0x03, 0x02, 0x03, 0x01, 0x02, 0x03}), -1);
    EXPECT_TRUE(overrun.log.empty());
    CLogWalker unknown;
    EXPECT_EQ(unknown.Walk(Bytes{0x30, 0x06, 0x02, 0x01, 0x05, 0x05, 0x01, 0x00}), -1);
    EXPECT_EQ(unknown.log, (std::vector<Element>{{kTagInteger, {5}}}));
    // A long chain of sequences, each holding exactly the rest of the bytes.
    const int n = 5000;
    Bytes chain;
    for (int i = 0; i < n; ++i) {
        const int rest = 4 * (n - i - 1) + 2;
        chain.insert(chain.end(),
                     {0x30, 0x82, static_cast<uint8_t>(rest >> 8), static_cast<uint8_t>(rest)});
    }
    chain.insert(chain.end(), {0x02, 0x00});
    EXPECT_EQ(WalkBytes(chain), -1);
}

} // namespace
