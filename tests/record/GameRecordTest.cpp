// Whole games written as records and applied again, and hostile records applied.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "record/CRecordReader.h"
#include "record/GameRecord.h"
#include "record/RecordFormat.h"
#include "record/RecordWriter.h"
#include "rules/CCardPile.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/GameState.h"
#include "rules/TableView.h"
#include "tests/record/CRecordTable.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const RecordPtr& r) {
    return r ? Bytes(r->Bytes().begin(), r->Bytes().end()) : Bytes{};
}

// What a record carries of a hand, flattened for comparison.
std::vector<int64_t> HandOf(int place) {
    const CPlayerHand& h = *g_pHand[place];
    std::vector<int64_t> s(h.m_cardBytes, h.m_cardBytes + 52);
    s.insert(s.end(), {h.m_selSet, h.m_nSelCount, h.m_nPoints, h.m_bMayDeclare, h.m_bComputer,
                       h.m_bWinsDecl});
    return s;
}

// Everything a record carries.
std::vector<int64_t> GameOf() {
    std::vector<int64_t> s;
    for (int p = 0; p < 4; ++p) {
        const auto h = HandOf(p);
        s.insert(s.end(), h.begin(), h.end());
    }
    const CTrickPile& t = *g_pTable;
    s.insert(s.end(), t.m_cardBytes, t.m_cardBytes + 53);
    s.insert(s.end(), t.m_playedBy, t.m_playedBy + 53);
    for (int i = 0; i <= t.m_nCurTrick && i < kMaxTricks; ++i)
        s.insert(s.end(), {t.m_tricks[i].leader, t.m_tricks[i].winner, t.m_tricks[i].winCard,
                           t.m_tricks[i].count});
    s.insert(s.end(), {t.m_nCurTrick, g_contract.value, g_contract.trump, g_contract.doubledBy,
                       g_contract.redoubledBy, g_contract.declarer, g_contract.turn, g_nDealer,
                       g_nBidRule, g_nBidder, g_nDeals, g_score[0], g_score[1]});
    s.insert(s.end(), g_dealRecord, g_dealRecord + kDealRecordSize);
    return s;
}

void FillDealEntry(int n, const char* result0, const char* result1, int points0, int points1) {
    SetDealText(n, kDealResult0, kDealResultLen, result0);
    SetDealText(n, kDealResult1, kDealResultLen, result1);
    SetDealInt(n, kDealPoints0, points0);
    SetDealInt(n, kDealPoints1, points1);
    SetDealText(n, kDealDeclarer, kDealNameLen, "Cleo");
}

// Builds the record, resets the table and applies the record again.
Bytes WriteAndApply(CRecordTable& table) {
    const Bytes bytes = BytesOf(BuildGameRecord());
    EXPECT_FALSE(bytes.empty());
    table.ResetForApply();
    EXPECT_EQ(ApplyRecord(bytes), static_cast<int>(bytes.size()));
    return bytes;
}

TEST(GameRecordRoundTrip, RandomMidDealGamesComeBackWhole) {
    std::mt19937 rng(4242);
    for (int game = 0; game < 24; ++game) {
        CRecordTable table(1 + game % 4);
        table.Deal(rng());
        g_nDealer = static_cast<int>(rng() % 4);
        g_nBidRule = static_cast<int>(rng() % 5);
        table.SetContract(8 + static_cast<int>(rng() % 9), static_cast<int>(rng() % 5),
                          static_cast<int>(rng() % 4), game % 3 ? -1 : 1);
        table.PlayLegalCards(static_cast<int>(rng() % 32));
        g_pHand[0]->Arrange(); // the own full hand comes back sorted
        g_nDeals = static_cast<int>(rng() % 6);
        g_score[0] = static_cast<int>(rng() % 300);
        g_score[1] = static_cast<int>(rng() % 300);
        for (int n = 0; n < g_nDeals; ++n)
            FillDealEntry(n, std::to_string(rng() % 40).c_str(), "#", static_cast<int>(rng() % 200),
                          20);
        g_pHand[rng() % 4]->m_nPoints = 20;
        g_pHand[rng() % 4]->m_bWinsDecl = 1;
        const auto before = GameOf();
        WriteAndApply(table);
        EXPECT_EQ(GameOf(), before) << "game " << game;
    }
}

TEST(GameRecordPartnerships, WrittenOnSeat3ReadOnEverySeat) {
    CRecordTable table(3);
    table.Deal(9);
    g_nDeals = 1; // own partnership (seats 1 and 3) first
    g_score[0] = 120;
    g_score[1] = 45;
    FillDealEntry(0, "62", "45", 20, 0);
    const Bytes bytes = BytesOf(BuildGameRecord());
    EXPECT_EQ(g_score[0], 120) << "writing leaves the state as it was";
    for (int reader : {0, 2, 4, 1, 3}) { // seat 0: a program without a seat
        table.ResetForApply();
        table.MoveOwnUser(reader);
        ASSERT_EQ(ApplyRecord(bytes), static_cast<int>(bytes.size()));
        const bool swapped = reader % 2 == 0;
        EXPECT_EQ(g_score[0], swapped ? 45 : 120) << "seat " << reader;
        EXPECT_EQ(GetDealInt(0, swapped ? kDealPoints1 : kDealPoints0), 20) << "seat " << reader;
    }
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

TEST_F(GameRecordHostile, ACardIsInOnePlaceOnly) {
    Bytes odd = Cards52({0, 24, 28});
    odd[3] = 5;          // code 4, not in the game
    odd[4] = 200;        // beyond the codes
    odd.resize(400, 26); // long: cut
    Apply(Record(HandPart(1, odd), HandPart(2, Cards52({0, 25})), HandPart(3, {25, 25, 27})));
    EXPECT_EQ(CountAt(1), 3);
    EXPECT_EQ(CountAt(2), 1);
    EXPECT_EQ(CountAt(3), 1);
    table.ResetForApply();
    Bytes tableBytes(106, 255);
    tableBytes[0] = tableBytes[53] = 1; // the ace of clubs, played by seat 1
    tableBytes[52] = tableBytes[105] = 0;
    Apply(Record(BitsPart(kKindTable, tableBytes), HandPart(2, Cards52({0, 25}))));
    EXPECT_EQ(g_pTable->Count(), 1);
    EXPECT_EQ(CountAt(2), 1);
    // The other way round the hand keeps it and the table drops it.
    table.ResetForApply();
    Apply(Record(HandPart(2, Cards52({0, 25})), BitsPart(kKindTable, tableBytes)));
    EXPECT_EQ(g_pTable->Count(), 0);
    EXPECT_EQ(CountAt(2), 2);
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
    // value, trump 9, doubler with no seat, no redoubler, declarer seat 7, turn seat 2
    Apply(Record(Part(kKindContract, Ints({100000, 9, 300, 0, 7, 2}))));
    EXPECT_EQ(std::vector<int>({g_contract.value, g_contract.trump, g_contract.doubledBy,
                                g_contract.redoubledBy, g_contract.declarer}),
              std::vector<int>(5, -1));
    EXPECT_EQ(g_contract.turn, PlaceOfSeat(2));
}

TEST_F(GameRecordHostile, WhatTheRecordHandsOnIsChecked) {
    for (size_t n : {0u, 7u, 1000u}) {
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
    Bytes big = bytes;
    big.resize(65536, 0);
    EXPECT_EQ(ApplyRecord(big), -1) << "over the record size";
}

} // namespace
