// Game records that no writer of ours makes: short, oversized, out of range,
// repeated or cut, applied to a dealt table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "rules/CCardPile.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"
#include "rules/record/CRecordReader.h"
#include "rules/record/GameRecord.h"
#include "rules/record/RecordFormat.h"
#include "rules/record/RecordWriter.h"
#include "tests/rules/record/CRecordTable.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const RecordPtr& r) {
    return r ? Bytes(r->Data(), r->Data() + r->Length()) : Bytes{};
}

// An outer SEQUENCE around the parts, each part given first-to-last.
template <typename... Parts> Bytes Record(Parts... pieces) {
    std::vector<RecordPtr> parts;
    (parts.push_back(std::move(pieces)), ...);
    RecordPtr list;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it)
        list = JoinBuffers(std::move(*it), std::move(list));
    return BytesOf(PutSequence(std::move(list), nullptr));
}

RecordPtr Part(int kind, RecordPtr content) {
    return PutSequence(PutKind(kind, std::move(content)), nullptr);
}

RecordPtr Value(int kind, int32_t v) {
    return Part(kind, PutInteger(v, nullptr));
}

RecordPtr Ints(std::vector<int32_t> values, RecordPtr list = nullptr) {
    for (auto it = values.rbegin(); it != values.rend(); ++it)
        list = PutInteger(*it, std::move(list));
    return list;
}

RecordPtr HandPart(int seat, const Bytes& cards, std::vector<int32_t> fields = {0, 0, 1, 0, 0}) {
    return Part(9 + seat,
                PutElement(kTagString, cards.data(), cards.size(), Ints(std::move(fields))));
}

RecordPtr BitsPart(int kind, const Bytes& bytes) {
    return Part(kind, PutBits(bytes.size(), bytes.data(), nullptr));
}

Bytes Cards52(std::initializer_list<int> codes) {
    Bytes b(52, 255);
    size_t i = 0;
    for (int code : codes)
        b[i++] = static_cast<uint8_t>(code + 1);
    return b;
}

// Every card lies in at most one of the hands and the table pile.
void ExpectEachCardOnce() {
    int seen[52] = {};
    auto count = [&](const uint8_t* bytes) {
        for (int i = 0; i < 52; ++i)
            if (bytes[i] >= 1 && bytes[i] <= 52) ++seen[bytes[i] - 1];
    };
    for (CPlayerHand* hand : g_pHand)
        count(hand->m_cardBytes);
    count(g_pTable->m_cardBytes);
    for (int code = 0; code < 52; ++code)
        EXPECT_LE(seen[code], 1) << "code " << code;
    EXPECT_LE(g_pDeck->m_nDealt, 32);
    EXPECT_GE(g_pDeck->m_nDealt, 0);
}

class GameRecordHostile : public ::testing::Test {
protected:
    GameRecordHostile() : table(2) {
        table.Deal(21);
        table.ResetForApply();
    }
    void Apply(const Bytes& record) {
        ASSERT_GE(ApplyRecord(record), 0);
        ExpectEachCardOnce();
    }
    int CountAt(int seat) { return g_pHand[PlaceOfSeat(seat)]->Count(); }
    CRecordTable table;
};

TEST_F(GameRecordHostile, HandStringsOfAnySizeAndContent) {
    Apply(Record(HandPart(2, {1, 25, 52}))); // short: padded with empty slots
    EXPECT_EQ(CountAt(2), 3);
    EXPECT_EQ(g_pHand[PlaceOfSeat(2)]->m_cardBytes[3], 255);
    Bytes cards = Cards52({0, 24});
    cards[2] = 0;  // no card
    cards[3] = 5;  // code 4, not in the game
    cards[4] = 53; // beyond the codes
    cards[5] = 200;
    table.ResetForApply();
    Apply(Record(HandPart(1, cards)));
    EXPECT_EQ(CountAt(1), 2);
    for (int i = 2; i < 52; ++i)
        EXPECT_EQ(g_pHand[PlaceOfSeat(1)]->m_cardBytes[i], 255) << i;
    cards = Cards52({3});
    cards.resize(400, 26); // long: cut
    table.ResetForApply();
    Apply(Record(HandPart(4, cards)));
    EXPECT_EQ(CountAt(4), 1);
}

TEST_F(GameRecordHostile, ACardIsInOnePlaceOnly) {
    Apply(Record(HandPart(1, Cards52({0, 24, 28})), HandPart(2, Cards52({0, 25})),
                 HandPart(3, Cards52({24, 24, 26}))));
    EXPECT_EQ(CountAt(1), 3);
    EXPECT_EQ(CountAt(2), 1);
    EXPECT_EQ(CountAt(3), 1);
    table.ResetForApply();
    Apply(Record(HandPart(1, Cards52({0, 24})), HandPart(1, Cards52({0, 25}))));
    EXPECT_EQ(g_pHand[PlaceOfSeat(1)]->m_cardBytes[1], 26) << "the same seat twice: replaced";
    table.ResetForApply();
    Bytes tableBytes(106, 255);
    tableBytes[0] = 1; // the ace of clubs, played by seat 1
    tableBytes[53] = 1;
    tableBytes[52] = tableBytes[105] = 0;
    g_contract.trump = kHeart;
    Apply(Record(BitsPart(kKindTable, tableBytes), HandPart(2, Cards52({0, 25}))));
    EXPECT_EQ(g_pTable->Count(), 1);
    EXPECT_EQ(CountAt(2), 1);
}

TEST_F(GameRecordHostile, HandFieldsAreBounded) {
    Apply(Record(HandPart(2, Cards52({0}), {0, 20, 1, 1, 1, 99, 98, 97}),
                 HandPart(6, Cards52({1}), {0, 50, 0, 0, 0})));
    EXPECT_EQ(g_pHand[PlaceOfSeat(2)]->m_nPoints, 20);
    EXPECT_EQ(g_pHand[PlaceOfSeat(2)]->m_bWinsDecl, 1);
    for (CPlayerHand* h : g_pHand)
        EXPECT_NE(h->m_nPoints, 50) << "seat 6 has no place";
    Apply(Record(HandPart(2, Cards52({0}), {0, 0x7FFFFFFF, 1, 0, 0})));
    EXPECT_LE(g_pHand[PlaceOfSeat(2)]->m_nPoints, 1000000);
}

TEST_F(GameRecordHostile, ReaderUsedAgainStartsAfresh) {
    CRecordReader reader;
    ASSERT_GE(reader.Apply(Record(HandPart(1, Cards52({0, 24})))), 0);
    table.ResetForApply();
    ASSERT_GE(reader.Apply(Record(HandPart(2, Cards52({0, 24})))), 0);
    EXPECT_EQ(CountAt(2), 2);
}

TEST_F(GameRecordHostile, OddTables) {
    for (size_t size : {105u, 107u}) {
        Bytes tableBytes(size, 255);
        tableBytes[0] = 1;
        tableBytes[53] = 1;
        Apply(Record(BitsPart(kKindTable, tableBytes)));
        EXPECT_EQ(g_pTable->Count(), 0) << "a table of " << size << " bytes is ignored";
    }
    Bytes tableBytes(106, 0);
    for (int i = 0; i < 52; ++i) {
        tableBytes[i] = static_cast<uint8_t>(i % 3 == 0 ? 1 : 7 + i); // many aces of clubs
        tableBytes[53 + i] = static_cast<uint8_t>(1 + i % 4);
    }
    g_contract.trump = kSpade;
    Apply(Record(BitsPart(kKindTable, tableBytes)));
    EXPECT_LE(g_pTable->Count(), 32);
    EXPECT_EQ(g_pTable->m_cardBytes[52], 0);
    table.ResetForApply();
    g_nDeals = 4;
    Apply(Record(Part(kKindTable, Ints({7, 9}))));
    EXPECT_EQ(g_nDeals, 4) << "integers under the table kind only count";
    EXPECT_EQ(g_pTable->Count(), 0);
}

TEST_F(GameRecordHostile, DealRecordIsBounded) {
    Apply(Record(Part(kKindDealRecord, PutString(std::string(3000, 'x'), nullptr))));
    for (int i = 0; i < kDealRecordSize; ++i)
        ASSERT_EQ(g_dealRecord[i], 'x') << i;
    std::string text(47, '\xFF');
    text[0] = '7';
    Apply(Record(Part(kKindDealRecord, PutString(text, nullptr))));
    EXPECT_EQ(g_dealRecord[0], '7');
    for (int i = 1; i < kDealRecordSize; ++i)
        ASSERT_EQ(g_dealRecord[i], 0) << "bytes 255 come back as zero: " << i;
    g_nDeals = 500;
    std::memset(g_dealRecord, 'q', sizeof g_dealRecord);
    // SEQUENCE { OID 8, PrintableString of the record's size }
    EXPECT_EQ(BytesOf(PutDealRecord(nullptr)).size(), 4u + 3u + 4u + kDealRecordSize);
    g_nDeals = -1;
    EXPECT_FALSE(PutDealRecord(nullptr));
}

TEST_F(GameRecordHostile, ValuesOutOfRange) {
    const std::pair<int32_t, int> deals[] = {{1000, kDealEntries - 1}, {-7, -1}, {12, 12}};
    for (const auto& [value, kept] : deals) {
        Apply(Record(Value(kKindDeals, value)));
        EXPECT_EQ(g_nDeals, kept) << value;
    }
    Apply(Record(Value(kKindScore0, 0x7FFFFFFF), Value(kKindScore1, -2000000000)));
    EXPECT_EQ(g_score[0], 1000000);
    EXPECT_EQ(g_score[1], -1000000);
    g_nDealer = 2;
    Apply(Record(PutSequence(
        PutKind(kKindDealer, PutInteger(-1, PutKind(kKindBidder, PutInteger(9, nullptr)))),
        nullptr)));
    EXPECT_EQ(g_nDealer, -1);
    EXPECT_EQ(g_nBidder, -1);
    const uint8_t wide[] = {0x01, 0x00, 0x00, 0x00, 0x05};
    Apply(Record(Part(kKindBidRule, PutElement(kTagInteger, wide, 5, nullptr))));
    EXPECT_EQ(g_nBidRule, 5) << "wide integers keep their low 32 bits";
}

TEST_F(GameRecordHostile, ContractValuesOutOfRange) {
    // value, trump 9, doubler with no seat, no redoubler, declarer seat 7, turn seat 2
    Apply(Record(Part(kKindContract, Ints({100000, 9, 300, 0, 7, 2}))));
    EXPECT_EQ(g_contract.value, -1);
    EXPECT_EQ(g_contract.trump, -1);
    EXPECT_EQ(g_contract.doubledBy, -1);
    EXPECT_EQ(g_contract.redoubledBy, -1);
    EXPECT_EQ(g_contract.declarer, -1);
    EXPECT_EQ(g_contract.turn, PlaceOfSeat(2));
    // Further integers all set the turn; the last names seat 9.
    Apply(Record(Part(kKindContract, Ints({4, 0, 2, 1, 3, 4, 8, 9}))));
    EXPECT_EQ(g_contract.value, 4);
    EXPECT_EQ(g_contract.trump, 0);
    EXPECT_EQ(g_contract.turn, -1);
}

TEST_F(GameRecordHostile, KindOutsideTheRangeIgnoresWhatFollows) {
    g_nDeals = 2;
    const uint8_t twoBytes[] = {0x05, 0x14}; // last byte 20
    const uint8_t lastIsFive[] = {0x14, 0x05};
    RecordPtr list = PutInteger(9, nullptr);
    list = PutElement(kTagKind, twoBytes, 2, std::move(list));
    list = PutInteger(6, std::move(list));
    list = PutElement(kTagKind, lastIsFive, 2, std::move(list));
    list = PutInteger(8, std::move(list));
    list = PutElement(kTagKind, nullptr, 0, std::move(list));
    list = PutKind(0, PutInteger(7, std::move(list)));
    Apply(Record(std::move(list)));
    EXPECT_EQ(g_nDeals, 6);
}

TEST_F(GameRecordHostile, WhatTheRecordHandsOnIsChecked) {
    for (size_t n : {0u, 4u, 6u, 7u, 506u, 1000u}) {
        Apply(Record(BitsPart(kKindBidding, Bytes(n, 1))));
        EXPECT_EQ(table.Bidding(), nullptr) << "bidding state of " << n << " bytes";
    }
    const Bytes state = {2, 9, 2, 1, 0, 0, 0, 0};
    Apply(Record(BitsPart(kKindBidding, state)));
    EXPECT_NE(table.Bidding(), nullptr);
    const Bytes line = {'a', 'b', 0, 'c'};
    Apply(Record(Part(kKindChat, PutElement(kTagString, line.data(), line.size(),
                                            PutString(std::string(1000, 'L'), nullptr)))));
    ASSERT_EQ(table.m_chat.size(), 2u);
    EXPECT_EQ(table.m_chat[0], "ab");
    EXPECT_EQ(table.m_chat[1].size(), 255u);

    table.ResetForApply();
    g_pRecordView = nullptr;
    g_pRecordFrame = nullptr;
    Apply(Record(BitsPart(kKindBidding, state), Part(kKindChat, PutString("hi", nullptr)),
                 BitsPart(kKindPendingGame, {2, 9})));
    EXPECT_EQ(table.Bidding(), nullptr) << "nothing is handed on without view or frame";
    EXPECT_TRUE(table.m_chat.empty());
    EXPECT_FALSE(table.m_bPending);
}

TEST_F(GameRecordHostile, MalformedRecordsFail) {
    Bytes bytes = Record(Value(kKindDeals, 4), Value(kKindScore0, 9));
    bytes[bytes.size() - 3] = 0x05; // the second INTEGER's tag made unknown
    EXPECT_EQ(ApplyRecord(bytes), -1);
    EXPECT_EQ(g_nDeals, 4) << "what came before is kept";
    EXPECT_EQ(g_score[0], 0);
    bytes = Record(Value(kKindDeals, 7));
    bytes.resize(65536, 0);
    EXPECT_EQ(ApplyRecord(bytes), -1);
    EXPECT_EQ(g_nDeals, 4);
}

TEST(GameRecordHostileWhole, CutOrChangedRealRecordsStayInBounds) {
    CRecordTable writer(3);
    writer.Deal(4);
    g_nDealer = 1;
    writer.SetContract(9, kDiamond, 2, 0);
    writer.PlayLegalCards(9);
    g_nDeals = 2;
    const Bytes bytes = BytesOf(BuildGameRecord());
    ASSERT_FALSE(bytes.empty());
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        writer.ResetForApply();
        EXPECT_EQ(ApplyRecord(std::span<const uint8_t>(bytes.data(), cut)), -1) << cut;
        ExpectEachCardOnce();
    }
    int failed = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (uint8_t v : {0x00, 0x01, 0x7F, 0x80, 0x81, 0x82, 0xFF}) {
            Bytes changed = bytes;
            changed[i] = v;
            writer.ResetForApply();
            const int taken = ApplyRecord(changed);
            EXPECT_LE(taken, static_cast<int>(changed.size()));
            failed += taken < 0;
            ExpectEachCardOnce();
            EXPECT_GE(g_nDeals, -1);
            EXPECT_LT(g_nDeals, kDealEntries);
        }
    }
    EXPECT_GT(failed, 0);
}

} // namespace
