// Walking records, good and hostile, with a walker that logs what it is handed.
#include <gtest/gtest.h>

#include <vector>

#include "record/CBerWalker.h"
#include "record/RecordFormat.h"
#include "record/RecordWriter.h"

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
    EXPECT_EQ(WalkBytes({0x30, 0x02, 0x02, 0x00, 0xEE}), 4) << "the outer element only";
    EXPECT_EQ(WalkBytes(Nested(kMaxRecordDepth)), static_cast<int>(Nested(kMaxRecordDepth).size()));
}

TEST(RecordWalkHostile, TruncatedOversizedOrUnknownFail) {
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
    RecordPtr list = PutSequence(PutKind(9, PutInteger(1234, nullptr)), nullptr);
    const Bytes whole(list->Data(), list->Data() + list->Length());
    for (size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_EQ(WalkBytes(Bytes(whole.begin(), whole.begin() + cut)), -1) << "cut at " << cut;
    CLogWalker unknown; // nothing past the failure is handed on
    EXPECT_EQ(unknown.Walk(Bytes{0x30, 0x06, 0x02, 0x01, 0x05, 0x05, 0x01, 0x00}), -1);
    EXPECT_EQ(unknown.log, (std::vector<Element>{{kTagInteger, {5}}}));
}

} // namespace
