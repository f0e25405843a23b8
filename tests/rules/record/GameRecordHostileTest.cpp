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

RecordPtr HandPart(int seat, const Bytes& cards, std::vector<int32_t> fields = {0, 0, 1, 0, 0}) {
    RecordPtr content;
    for (auto it = fields.rbegin(); it != fields.rend(); ++it)
        content = PutInteger(*it, std::move(content));
    content = PutElement(kTagString, cards.data(), cards.size(), std::move(content));
    return Part(9 + seat, std::move(content));
}

Bytes Cards52(std::initializer_list<int> codes) {
    Bytes b(52, 255);
    size_t i = 0;
    for (int code : codes)
        b[i++] = static_cast<uint8_t>(code + 1);
    return b;
}

int Apply(const Bytes& record) {
    return ApplyRecord(record);
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
    CRecordTable table;
};

// ---- hands ----

TEST_F(GameRecordHostile, ShortHandStringIsPaddedWithEmptySlots) {
    const Bytes cards = {1, 25, 52};
    ASSERT_GE(Apply(Record(HandPart(2, cards))), 0);
    const CPlayerHand& hand = *g_pHand[PlaceOfSeat(2)];
    EXPECT_EQ(hand.Count(), 3);
    EXPECT_EQ(hand.m_cardBytes[0], 1);
    EXPECT_EQ(hand.m_cardBytes[2], 52);
    EXPECT_EQ(hand.m_cardBytes[3], 255);
}

TEST_F(GameRecordHostile, BytesNamingNoGameCardAreSkipped) {
    Bytes cards = Cards52({0, 24});
    cards[2] = 0;  // no card
    cards[3] = 5;  // code 4, not in the game
    cards[4] = 53; // beyond the codes
    cards[5] = 200;
    ASSERT_GE(Apply(Record(HandPart(1, cards))), 0);
    const CPlayerHand& hand = *g_pHand[PlaceOfSeat(1)];
    EXPECT_EQ(hand.Count(), 2);
    for (int i = 2; i < 52; ++i)
        EXPECT_EQ(hand.m_cardBytes[i], 255) << i;
}

TEST_F(GameRecordHostile, LongHandStringIsCut) {
    Bytes cards = Cards52({3});
    cards.resize(400, 26);
    ASSERT_GE(Apply(Record(HandPart(4, cards))), 0);
    EXPECT_EQ(g_pHand[PlaceOfSeat(4)]->Count(), 1);
}

TEST_F(GameRecordHostile, CardInTwoHandsStaysWithTheFirst) {
    ASSERT_GE(Apply(Record(HandPart(1, Cards52({0, 24, 28})), HandPart(2, Cards52({0, 25})),
                           HandPart(3, Cards52({24, 24, 26})))),
              0);
    EXPECT_EQ(g_pHand[PlaceOfSeat(1)]->Count(), 3);
    EXPECT_EQ(g_pHand[PlaceOfSeat(2)]->Count(), 1);
    EXPECT_EQ(g_pHand[PlaceOfSeat(3)]->Count(), 1);
    ExpectEachCardOnce();
}

TEST_F(GameRecordHostile, SameSeatTwiceReplacesTheHand) {
    ASSERT_GE(Apply(Record(HandPart(1, Cards52({0, 24})), HandPart(1, Cards52({0, 25})))), 0);
    const CPlayerHand& hand = *g_pHand[PlaceOfSeat(1)];
    EXPECT_EQ(hand.Count(), 2);
    EXPECT_EQ(hand.m_cardBytes[1], 26);
    ExpectEachCardOnce();
}

TEST_F(GameRecordHostile, CardOnTheTableIsNotAlsoInAHand) {
    Bytes tableBytes(106, 255);
    tableBytes[0] = 1; // the ace of clubs, played by seat 1
    tableBytes[53] = 1;
    tableBytes[52] = tableBytes[105] = 0;
    g_contract.trump = kHeart;
    ASSERT_GE(Apply(Record(Part(kKindTable, PutBits(106, tableBytes.data(), nullptr)),
                           HandPart(2, Cards52({0, 25})))),
              0);
    EXPECT_EQ(g_pTable->Count(), 1);
    EXPECT_EQ(g_pHand[PlaceOfSeat(2)]->Count(), 1);
    ExpectEachCardOnce();
}

TEST_F(GameRecordHostile, HandFieldsBeyondFiveAndSeatsWithoutPlaceAreIgnored) {
    ASSERT_GE(Apply(Record(HandPart(2, Cards52({0}), {0, 20, 1, 1, 1, 99, 98, 97}),
                           HandPart(6, Cards52({1}), {0, 50, 0, 0, 0}))),
              0);
    const CPlayerHand& hand = *g_pHand[PlaceOfSeat(2)];
    EXPECT_EQ(hand.m_nPoints, 20);
    EXPECT_EQ(hand.m_bWinsDecl, 1);
    for (CPlayerHand* h : g_pHand)
        EXPECT_NE(h->m_nPoints, 50);
}

TEST_F(GameRecordHostile, HugeHandPointsAreBounded) {
    ASSERT_GE(Apply(Record(HandPart(2, Cards52({0}), {0, 0x7FFFFFFF, 1, 0, 0}))), 0);
    EXPECT_LE(g_pHand[PlaceOfSeat(2)]->m_nPoints, 1000000);
}

TEST_F(GameRecordHostile, ReaderUsedAgainStartsAfresh) {
    CRecordReader reader;
    ASSERT_GE(reader.Apply(Record(HandPart(1, Cards52({0, 24})))), 0);
    table.ResetForApply();
    ASSERT_GE(reader.Apply(Record(HandPart(2, Cards52({0, 24})))), 0);
    EXPECT_EQ(g_pHand[PlaceOfSeat(2)]->Count(), 2);
}

// ---- table ----

TEST_F(GameRecordHostile, TableOfAnotherSizeIsIgnored) {
    Bytes tableBytes(105, 255);
    tableBytes[0] = 1;
    tableBytes[53] = 1;
    ASSERT_GE(Apply(Record(Part(kKindTable, PutBits(105, tableBytes.data(), nullptr)))), 0);
    EXPECT_EQ(g_pTable->Count(), 0);
    tableBytes.resize(107, 255);
    ASSERT_GE(Apply(Record(Part(kKindTable, PutBits(107, tableBytes.data(), nullptr)))), 0);
    EXPECT_EQ(g_pTable->Count(), 0);
}

TEST_F(GameRecordHostile, TableWithRepeatedAndForeignCards) {
    Bytes tableBytes(106, 0);
    for (int i = 0; i < 52; ++i) {
        tableBytes[i] = static_cast<uint8_t>(i % 3 == 0 ? 1 : 7 + i); // many aces of clubs
        tableBytes[53 + i] = static_cast<uint8_t>(1 + i % 4);
    }
    g_contract.trump = kSpade;
    ASSERT_GE(Apply(Record(Part(kKindTable, PutBits(106, tableBytes.data(), nullptr)))), 0);
    EXPECT_LE(g_pTable->Count(), 32);
    EXPECT_EQ(g_pTable->m_cardBytes[52], 0);
    ExpectEachCardOnce();
}

TEST_F(GameRecordHostile, IntegersUnderTheTableKindOnlyCount) {
    g_nDeals = 4;
    ASSERT_GE(Apply(Record(Part(kKindTable, PutInteger(7, PutInteger(9, nullptr))))), 0);
    EXPECT_EQ(g_nDeals, 4);
    EXPECT_EQ(g_pTable->Count(), 0);
}

// ---- deal record and values ----

TEST_F(GameRecordHostile, DealRecordLongerThanItsSizeIsBounded) {
    const std::string text(3000, 'x');
    ASSERT_GE(Apply(Record(Part(kKindDealRecord, PutString(text, nullptr)))), 0);
    for (int i = 0; i < kDealRecordSize; ++i)
        ASSERT_EQ(g_dealRecord[i], 'x') << i;
}

TEST_F(GameRecordHostile, DealRecordBytes255ComeBackAsZero) {
    std::string text(47, '\xFF');
    text[0] = '7';
    ASSERT_GE(Apply(Record(Part(kKindDealRecord, PutString(text, nullptr)))), 0);
    EXPECT_EQ(g_dealRecord[0], '7');
    for (int i = 1; i < kDealRecordSize; ++i)
        ASSERT_EQ(g_dealRecord[i], 0) << i;
}

TEST_F(GameRecordHostile, DealCountIsKeptInsideTheDealRecord) {
    ASSERT_GE(Apply(Record(Value(kKindDeals, 1000))), 0);
    EXPECT_EQ(g_nDeals, kDealEntries - 1);
    ASSERT_GE(Apply(Record(Value(kKindDeals, -7))), 0);
    EXPECT_EQ(g_nDeals, -1);
    ASSERT_GE(Apply(Record(Value(kKindDeals, 12))), 0);
    EXPECT_EQ(g_nDeals, 12);
}

TEST_F(GameRecordHostile, WriterBoundsTheDealRecordToItsSize) {
    g_nDeals = 500;
    std::memset(g_dealRecord, 'q', sizeof g_dealRecord);
    const Bytes bytes = BytesOf(PutDealRecord(nullptr));
    // SEQUENCE { OID 8, PrintableString of 1222 bytes }
    ASSERT_EQ(bytes.size(), 4u + 3u + 4u + kDealRecordSize);
    g_nDeals = -1;
    EXPECT_FALSE(PutDealRecord(nullptr));
}

TEST_F(GameRecordHostile, MinusOneSeatsLeaveThePlacesAbsent) {
    g_nDealer = 2;
    ASSERT_GE(
        Apply(Record(PutSequence(
            PutKind(kKindDealer, PutInteger(-1, PutKind(kKindBidder, PutInteger(9, nullptr)))),
            nullptr))),
        0);
    EXPECT_EQ(g_nDealer, -1);
    EXPECT_EQ(g_nBidder, -1);
}

TEST_F(GameRecordHostile, ContractValuesOutOfRangeBecomeNone) {
    RecordPtr content = PutInteger(2, nullptr);       // turn: seat 2
    content = PutInteger(7, std::move(content));      // declarer: seat 7, nobody
    content = PutInteger(0, std::move(content));      // redoubler: none
    content = PutInteger(300, std::move(content));    // doubler: no such seat
    content = PutInteger(9, std::move(content));      // trump 9
    content = PutInteger(100000, std::move(content)); // value
    ASSERT_GE(Apply(Record(Part(kKindContract, std::move(content)))), 0);
    EXPECT_EQ(g_contract.value, -1);
    EXPECT_EQ(g_contract.trump, -1);
    EXPECT_EQ(g_contract.doubledBy, -1);
    EXPECT_EQ(g_contract.redoubledBy, -1);
    EXPECT_EQ(g_contract.declarer, -1);
    EXPECT_EQ(g_contract.turn, PlaceOfSeat(2));
}

TEST_F(GameRecordHostile, FurtherContractIntegersAllSetTheTurn) {
    RecordPtr content;
    for (int seat : {9, 8, 4, 3, 1, 2, 0, 4})
        content = PutInteger(seat, std::move(content));
    ASSERT_GE(Apply(Record(Part(kKindContract, std::move(content)))), 0);
    EXPECT_EQ(g_contract.value, 4);
    EXPECT_EQ(g_contract.trump, 0);
    EXPECT_EQ(g_contract.turn, -1); // the last one names seat 9
}

TEST_F(GameRecordHostile, ScoresAreBounded) {
    ASSERT_GE(Apply(Record(Value(kKindScore0, 0x7FFFFFFF), Value(kKindScore1, -2000000000))), 0);
    EXPECT_EQ(g_score[0], 1000000);
    EXPECT_EQ(g_score[1], -1000000);
}

TEST_F(GameRecordHostile, WideIntegersKeepTheirLow32Bits) {
    const uint8_t content[] = {0x01, 0x00, 0x00, 0x00, 0x05};
    ASSERT_GE(Apply(Record(Part(kKindBidRule, PutElement(kTagInteger, content, 5, nullptr)))), 0);
    EXPECT_EQ(g_nBidRule, 5);
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
    list = PutInteger(7, std::move(list));
    list = PutKind(0, std::move(list));
    ASSERT_GE(Apply(Record(std::move(list))), 0);
    EXPECT_EQ(g_nDeals, 6);
}

// ---- what the record hands on ----

TEST_F(GameRecordHostile, BiddingStateOfWrongLengthIsNotRestored) {
    for (size_t n : {0u, 4u, 6u, 7u, 506u, 1000u}) {
        const Bytes state(n, 1);
        ASSERT_GE(Apply(Record(Part(kKindBidding, PutBits(n, state.data(), nullptr)))), 0);
        EXPECT_EQ(table.Bidding(), nullptr) << n;
    }
    const Bytes state = {2, 9, 2, 1, 0, 0, 0, 0};
    ASSERT_GE(Apply(Record(Part(kKindBidding, PutBits(state.size(), state.data(), nullptr)))), 0);
    EXPECT_NE(table.Bidding(), nullptr);
}

TEST_F(GameRecordHostile, ChatLinesAreCutAtZeroAndLength) {
    const Bytes line = {'a', 'b', 0, 'c'};
    const std::string longLine(1000, 'L');
    ASSERT_GE(Apply(Record(Part(kKindChat, PutElement(kTagString, line.data(), line.size(),
                                                      PutString(longLine, nullptr))))),
              0);
    ASSERT_EQ(table.m_chat.size(), 2u);
    EXPECT_EQ(table.m_chat[0], "ab");
    EXPECT_EQ(table.m_chat[1].size(), 255u);
}

TEST_F(GameRecordHostile, NothingIsHandedOnWithoutViewOrFrame) {
    g_pRecordView = nullptr;
    g_pRecordFrame = nullptr;
    const Bytes state = {2, 9, 2, 1, 0, 0, 0, 0};
    ASSERT_GE(Apply(Record(Part(kKindBidding, PutBits(state.size(), state.data(), nullptr)),
                           Part(kKindChat, PutString("hi", nullptr)),
                           Part(kKindPendingGame, PutBits(2, state.data(), nullptr)))),
              0);
    EXPECT_EQ(table.Bidding(), nullptr);
    EXPECT_TRUE(table.m_chat.empty());
    EXPECT_FALSE(table.m_bPending);
}

// ---- malformed records ----

TEST_F(GameRecordHostile, UnknownTagFailsAndKeepsWhatCameBefore) {
    Bytes bytes = Record(Value(kKindDeals, 4), Value(kKindScore0, 9));
    // Turn the tag of the second pair's INTEGER into an unknown one.
    bytes[bytes.size() - 3] = 0x05;
    EXPECT_EQ(Apply(bytes), -1);
    EXPECT_EQ(g_nDeals, 4);
    EXPECT_EQ(g_score[0], 0);
}

TEST_F(GameRecordHostile, RecordOver65535BytesIsRefused) {
    g_nDeals = 3;
    Bytes bytes = Record(Value(kKindDeals, 7));
    bytes.resize(65536, 0);
    EXPECT_EQ(Apply(bytes), -1);
    EXPECT_EQ(g_nDeals, 3);
}

TEST(GameRecordHostileWhole, EveryCutOfARealRecordFails) {
    CRecordTable writer(3);
    writer.Deal(4);
    g_nDealer = 1;
    writer.SetContract(9, kDiamond, 2);
    writer.PlayLegalCards(5);
    g_nDeals = 2;
    const Bytes bytes = BytesOf(BuildGameRecord());
    ASSERT_FALSE(bytes.empty());
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        writer.ResetForApply();
        EXPECT_EQ(ApplyRecord(std::span<const uint8_t>(bytes.data(), cut)), -1) << cut;
        ExpectEachCardOnce();
    }
}

TEST(GameRecordHostileWhole, ChangedBytesOfARealRecordStayInBounds) {
    CRecordTable writer(2);
    writer.Deal(8);
    g_nDealer = 0;
    writer.SetContract(11, kNoTrump, 3, 0);
    writer.PlayLegalCards(9);
    g_nDeals = 1;
    const Bytes bytes = BytesOf(BuildGameRecord());
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
