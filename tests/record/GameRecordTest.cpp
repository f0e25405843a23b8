// Whole games written as records and applied again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/GameState.h"
#include "rules/TableView.h"
#include "record/CRecordReader.h"
#include "record/GameRecord.h"
#include "record/RecordFormat.h"
#include "tests/record/CRecordTable.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct HandState {
    Bytes cards;
    uint32_t selSet;
    int32_t selCount, points, mayDeclare, computer, winsDecl;
    bool operator==(const HandState&) const = default;
};

HandState HandOf(int place) {
    const CPlayerHand& h = *g_pHand[place];
    return {Bytes(h.m_cardBytes, h.m_cardBytes + 52),
            h.m_selSet,
            h.m_nSelCount,
            h.m_nPoints,
            h.m_bMayDeclare,
            h.m_bComputer,
            h.m_bWinsDecl};
}

// Everything a record carries, flattened for comparison.
std::vector<int64_t> GameOf() {
    std::vector<int64_t> s;
    for (int p = 0; p < 4; ++p) {
        const HandState h = HandOf(p);
        s.insert(s.end(), h.cards.begin(), h.cards.end());
        s.insert(s.end(), {h.selSet, h.selCount, h.points, h.mayDeclare, h.computer, h.winsDecl});
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

Bytes BytesOf(const RecordPtr& r) {
    return r ? Bytes(r->Data(), r->Data() + r->Length()) : Bytes{};
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

TEST(GameRecordRoundTrip, BiddingStateComesBack) {
    CRecordTable table(4);
    table.Deal(11);
    g_nDealer = 2;
    table.OpenBidding();
    const int first = NextPlace(g_nDealer);
    table.Call(first, 8, kHeart);
    table.Call(NextPlace(first), 0, CALL_PASS);
    table.Call(PartnerPlace(first), 9, kSpade);
    table.Call(PreviousPlace(first), 1, CALL_DOUBLE);
    ASSERT_FALSE(table.Bidding()->IsOver());
    const std::vector<uint8_t> saved = table.Bidding()->SaveState();
    WriteAndApply(table);
    EXPECT_EQ(g_contract.value, -1) << "no contract yet";
    ASSERT_NE(table.Bidding(), nullptr);
    EXPECT_EQ(table.Bidding()->SaveState(), saved);
    EXPECT_EQ(g_nBidder, table.Bidding()->PlaceToCall());
    EXPECT_EQ(table.Bidding()->Doubler(), PreviousPlace(first));
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

TEST(GameRecordDeclarations, ShownOrPickedCardsComeBackAsTheyWere) {
    for (bool show : {true, false}) {
        CRecordTable table(2);
        // Seat 3 (place 1 for own seat 2) holds 7 8 9 of hearts.
        table.DealCodes({{1, 2, 3, 25, 27, 29, 31, 33},
                         {0, 24, 28, 32, 36, 40, 38, 42},
                         {26, 30, 34, 44, 48, 37, 41, 39},
                         {43, 45, 46, 47, 49, 50, 51, 35}});
        g_nDealer = 0;
        table.SetContract(8, kClub, 1);
        CPlayerHand& hand = *g_pHand[1];
        for (int code : {26, 30, 34})
            hand.ToggleShowCode(code, false);
        if (show) hand.ShowDeclaration();
        const HandState before = HandOf(1);
        WriteAndApply(table);
        EXPECT_EQ(HandOf(1), before) << show;
        EXPECT_EQ(hand.m_nPoints, show ? 20 : 0);
        for (int slot = 0; slot < kPileSlots; ++slot)
            if (const CCard* card = hand.CardAt(slot)) {
                const bool inSet = (card->m_natSet & before.selSet) != 0;
                EXPECT_EQ(hand.IsPicked(slot), inSet) << "slot " << slot;
                EXPECT_EQ(card->m_nDrawMode, inSet && show ? kDrawFace : kDrawBack) << slot;
            }
    }
}

} // namespace
