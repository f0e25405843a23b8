// Walking records, good and hostile, with a walker that logs what it is handed.
#include <gtest/gtest.h>

#include <string>
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

int WalkBytes(const Bytes& bytes, CLogWalker* walker = nullptr) {
    CLogWalker local;
    return (walker ? walker : &local)->Walk(bytes);
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

// ---- well formed ----

TEST(RecordWalk, HandsEveryPrimitiveInOrder) {
    RecordPtr list = PutSequence(PutKind(2, PutInteger(200, nullptr)), nullptr);
    const uint8_t bits[] = {9, 8};
    list = PutSequence(
        JoinBuffers(std::move(list), PutKind(17, PutBits(2, bits, PutString("ab", nullptr)))),
        nullptr);
    CLogWalker w;
    const Bytes bytes(list->Data(), list->Data() + list->Length());
    EXPECT_EQ(w.Walk(bytes), static_cast<int>(bytes.size()));
    const std::vector<Element> expected = {{kTagKind, {2}},
                                           {kTagInteger, {0xC8}},
                                           {kTagKind, {17}},
                                           {kTagBitString, {9, 8}},
                                           {kTagString, {'a', 'b'}}};
    EXPECT_EQ(w.log, expected);
}

TEST(RecordWalk, ReturnsTheOuterElementsSizeOnly) {
    const Bytes bytes = {0x30, 0x02, 0x02, 0x00, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(WalkBytes(bytes), 4);
}

TEST(RecordWalk, ReadOnlyTagsAreHandedOn) {
    const Bytes bytes = {0x30, 0x0B, 0x04, 0x01, 0x41, 0x17, 0x01,
                         0x42, 0x31, 0x03, 0x02, 0x01, 0x07};
    CLogWalker w;
    EXPECT_EQ(w.Walk(bytes), 13);
    const std::vector<Element> expected = {
        {kTagOctetString, {0x41}}, {kTagTime, {0x42}}, {kTagInteger, {7}}};
    EXPECT_EQ(w.log, expected);
}

TEST(RecordWalk, AnyHighFirstLengthByteTakesTwoMore) {
    // 0x80 and 0x83 are read like 0x82.
    EXPECT_EQ(WalkBytes({0x04, 0x80, 0x00, 0x01, 0x55}), 5);
    EXPECT_EQ(WalkBytes({0x04, 0x83, 0x00, 0x02, 0x55, 0x56}), 6);
    EXPECT_EQ(WalkBytes({0x04, 0x81, 0x01, 0x55}), 4);
}

TEST(RecordWalk, EmptyBitStringAndEmptySequence) {
    CLogWalker w;
    EXPECT_EQ(w.Walk(Bytes{0x30, 0x04, 0x03, 0x00, 0x30, 0x00}), 6);
    ASSERT_EQ(w.log.size(), 1u);
    EXPECT_EQ(w.log[0], (Element{kTagBitString, {}}));
}

TEST(RecordWalk, NestingWithinTheBound) {
    EXPECT_EQ(WalkBytes(Nested(kMaxRecordDepth)), static_cast<int>(Nested(kMaxRecordDepth).size()));
}

// ---- hostile: truncated ----

TEST(RecordWalkHostile, EmptyAndOneByte) {
    EXPECT_EQ(WalkBytes({}), -1);
    EXPECT_EQ(WalkBytes({0x30}), -1);
    EXPECT_EQ(WalkBytes({0x02}), -1);
}

TEST(RecordWalkHostile, TruncatedLengthBytes) {
    EXPECT_EQ(WalkBytes({0x30, 0x81}), -1);
    EXPECT_EQ(WalkBytes({0x30, 0x82, 0x00}), -1);
    // Inside a sequence the length bytes must fit into its content.
    EXPECT_EQ(WalkBytes({0x30, 0x02, 0x02, 0x82, 0x00, 0x00}), -1);
}

TEST(RecordWalkHostile, TruncatedContent) {
    RecordPtr list = PutSequence(PutKind(9, PutInteger(1234, nullptr)), nullptr);
    Bytes bytes(list->Data(), list->Data() + list->Length());
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        const Bytes part(bytes.begin(), bytes.begin() + cut);
        EXPECT_EQ(WalkBytes(part), -1) << "cut at " << cut;
    }
}

// ---- hostile: oversized lengths ----

TEST(RecordWalkHostile, ContentLongerThanTheBytes) {
    EXPECT_EQ(WalkBytes({0x02, 0x05, 0x01}), -1);
    EXPECT_EQ(WalkBytes({0x13, 0x82, 0xFF, 0xFF, 'a'}), -1);
}

TEST(RecordWalkHostile, InnerElementOverrunsItsSequence) {
    // The integer claims 3 bytes, the sequence holds only 3 bytes in all; the
    // bytes after the sequence must not be taken as the integer's content.
    CLogWalker w;
    EXPECT_EQ(w.Walk(Bytes{0x30, 0x03, 0x02, 0x03, 0x01, 0x02, 0x03}), -1);
    EXPECT_TRUE(w.log.empty());
}

TEST(RecordWalkHostile, SetNeedsTheShortLengthForm) {
    EXPECT_EQ(WalkBytes({0x31, 0x81, 0x02, 0x02, 0x00}), -1);
    EXPECT_EQ(WalkBytes({0x31, 0x02, 0x02, 0x00}), 4);
}

TEST(RecordWalkHostile, OverRecordSize) {
    Bytes big(65536, 0);
    big[0] = 0x04;
    big[1] = 0x82;
    big[2] = 0xFF;
    big[3] = 0xFF;
    EXPECT_EQ(WalkBytes(big), -1);
    big.resize(65535);
    big[2] = 0xFF;
    big[3] = 0xFB; // 65531 bytes of content: exactly 65535 in all
    EXPECT_EQ(WalkBytes(big), 65535);
}

// ---- hostile: wrong tag ----

TEST(RecordWalkHostile, UnknownTagFailsAndKeepsWhatWasHanded) {
    CLogWalker w;
    EXPECT_EQ(w.Walk(Bytes{0x30, 0x06, 0x02, 0x01, 0x05, 0x05, 0x01, 0x00}), -1);
    ASSERT_EQ(w.log.size(), 1u);
    EXPECT_EQ(w.log[0], (Element{kTagInteger, {5}}));
    for (int tag : {0x00, 0x01, 0x05, 0x10, 0x20, 0x32, 0xA0, 0xFF})
        EXPECT_EQ(WalkBytes({static_cast<uint8_t>(tag), 0x00}), -1) << tag;
}

// ---- hostile: nesting ----

TEST(RecordWalkHostile, NestingTooDeep) {
    EXPECT_EQ(WalkBytes(Nested(kMaxRecordDepth + 1)), -1);
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
