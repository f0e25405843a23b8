// Whole games written as records and applied again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/GameState.h"
#include "rules/TableView.h"
#include "rules/record/CBerWalker.h"
#include "rules/record/CRecordReader.h"
#include "rules/record/GameRecord.h"
#include "rules/record/RecordFormat.h"
#include "rules/record/RecordWriter.h"
#include "tests/rules/record/CRecordTable.h"

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

Bytes DealRecordOf() {
    return Bytes(g_dealRecord, g_dealRecord + kDealRecordSize);
}

Bytes BytesOf(const RecordPtr& r) {
    return r ? Bytes(r->Data(), r->Data() + r->Length()) : Bytes{};
}

// Writes entry n of the deal record as the scoring and the bidding would.
void FillDealEntry(int n, const char* result0, const char* result1, int points0, int points1) {
    SetDealText(n, kDealResult0, kDealResultLen, result0);
    SetDealText(n, kDealResult1, kDealResultLen, result1);
    SetDealText(n, kDealValue, kDealValueLen, "9");
    SetDealInt(n, kDealTrump, kHeart);
    SetDealInt(n, kDealPoints0, points0);
    SetDealInt(n, kDealPoints1, points1);
    SetDealText(n, kDealDeclarer, kDealNameLen, "Cleo");
}

// The kinds that a record's OBJECT IDENTIFIERs name, in order.
class CKindLog : public CBerWalker {
public:
    std::vector<int> kinds;

protected:
    void ApplyElement(uint8_t tag, const uint8_t* content, size_t length) override {
        if (tag == kTagKind && length == 1) kinds.push_back(content[0]);
    }
};

std::vector<int> KindsOf(const Bytes& record) {
    CKindLog log;
    EXPECT_EQ(log.Walk(record), static_cast<int>(record.size()));
    return log.kinds;
}

// Builds the record, resets the table and applies the record again.
Bytes WriteAndApply(CRecordTable& table, RecordPtr extras = nullptr) {
    const Bytes bytes = BytesOf(BuildGameRecord(std::move(extras)));
    EXPECT_FALSE(bytes.empty());
    table.ResetForApply();
    EXPECT_EQ(ApplyRecord(bytes), static_cast<int>(bytes.size()));
    return bytes;
}

// Seat 3 holds 7 8 9 of hearts (a Terz); place 1 is seat 3 for the own seat 2.
const std::vector<std::vector<int>> kTerzDeal = {{1, 2, 3, 25, 27, 29, 31, 33},
                                                 {0, 24, 28, 32, 36, 40, 38, 42},
                                                 {26, 30, 34, 44, 48, 37, 41, 39},
                                                 {43, 45, 46, 47, 49, 50, 51, 35}};

TEST(GameRecordRoundTrip, MidDealGameComesBackWhole) {
    CRecordTable table(2);
    table.Deal(7);
    g_nDealer = 3;
    g_nBidRule = 4;
    table.SetContract(9, kHeart, 1, 2);
    table.PlayLegalCards(6);
    ASSERT_EQ(g_pTable->m_nCurTrick, 1);
    g_nDeals = 3;
    g_score[0] = 57;
    g_score[1] = 112;
    FillDealEntry(0, "20", "-", 0, 20);
    FillDealEntry(1, "#", "45", 40, 0);
    FillDealEntry(2, "57", "112", 150, 20);
    g_pHand[1]->m_nPoints = 20;
    g_pHand[3]->m_bWinsDecl = 1;
    g_pHand[2]->m_bComputer = 1;
    const auto before = GameOf();
    const Bytes bytes = WriteAndApply(table);
    EXPECT_EQ(bytes[0], kTagSequence);
    EXPECT_EQ(KindsOf(bytes), (std::vector<int>{2, 3, 4, 5, 6, 7, 9, 17, 10, 11, 12, 13, 8}));
    EXPECT_EQ(GameOf(), before);
}

TEST(GameRecordRoundTrip, FullHandsRefillTheDeclarations) {
    CRecordTable table(1);
    // Seat 1 holds a sequence of four in hearts, seat 3 four kings.
    table.DealCodes({{26, 30, 34, 38, 24, 28, 0, 1},
                     {48, 49, 50, 51, 25, 29, 33, 37},
                     {27, 31, 35, 39, 40, 41, 42, 43},
                     {2, 3, 32, 36, 44, 45, 46, 47}});
    g_nDealer = 0;
    table.SetContract(10, kSpade, 0);
    DeclarationRecord before[4];
    std::memcpy(before, g_declare, sizeof before);
    ASSERT_NE(before[0].value, 0);
    WriteAndApply(table);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(g_declare[p].value, before[p].value) << "place " << p;
        EXPECT_STREQ(g_declare[p].text, before[p].text) << "place " << p;
    }
    const CPlayerHand& own = *g_pHand[0]; // face up here, and sorted
    for (int slot = 1; slot < own.Count(); ++slot)
        EXPECT_LT(own.m_slots[slot - 1].key, own.m_slots[slot].key);
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
    const int toCall = table.Bidding()->PlaceToCall();
    const std::vector<uint8_t> saved = table.Bidding()->SaveState();
    const Bytes bytes = WriteAndApply(table);
    const auto kinds = KindsOf(bytes);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), kKindContract), 0) << "no contract yet";
    EXPECT_EQ(g_contract.value, -1);
    EXPECT_EQ(g_contract.turn, -1);
    EXPECT_EQ(g_nDealer, 2);
    ASSERT_NE(table.Bidding(), nullptr);
    CBiddingModel& back = *table.Bidding();
    EXPECT_EQ(back.SaveState(), saved);
    EXPECT_EQ(back.PlaceToCall(), toCall);
    EXPECT_EQ(g_nBidder, toCall);
    EXPECT_EQ(back.ContractValue(), 9);
    EXPECT_EQ(back.ContractBidder(), PartnerPlace(first));
    EXPECT_EQ(back.Doubler(), PreviousPlace(first));

    g_pRecordView = nullptr; // without a view the record holds no bidding
    const auto noView = KindsOf(BytesOf(BuildGameRecord()));
    EXPECT_EQ(std::count(noView.begin(), noView.end(), kKindBidding), 0);
}

TEST(GameRecordRoundTrip, ChatLinesAndPendingGameTravelAlong) {
    CRecordTable table(2);
    table.Deal(5);
    g_nDeals = 1;
    g_score[0] = 30;
    const RecordPtr pending = BuildGameRecord();
    ASSERT_TRUE(pending);
    const std::vector<std::string> lines = {"Anna>hello", "Referee> ***Our Score(80/0)***",
                                            "Bert>" + std::string(300, 'w')};
    const Bytes bytes =
        WriteAndApply(table, PutChatLines(lines, PutPendingGame(pending.get(), nullptr)));
    const auto kinds = KindsOf(bytes);
    ASSERT_GE(kinds.size(), 3u); // between the hands and the deal record
    EXPECT_EQ(std::vector<int>(kinds.end() - 3, kinds.end()),
              (std::vector<int>{kKindChat, kKindPendingGame, kKindDealRecord}));
    EXPECT_EQ(table.m_chat,
              (std::vector<std::string>{lines[0], lines[1], lines[2].substr(0, 255)}));
    ASSERT_TRUE(table.m_bPending);
    EXPECT_EQ(table.m_pending, BytesOf(pending));
    EXPECT_EQ(g_score[0], 30);

    // A record that would not fit is not built, and leaves no swap behind.
    const RecordPtr huge = CRecordBuffer::FromBytes(Bytes(65500, 0x41));
    EXPECT_FALSE(BuildGameRecord(PutPendingGame(huge.get(), nullptr)));
    EXPECT_TRUE(BuildGameRecord());
    EXPECT_EQ(g_score[0], 30);
}

TEST(GameRecordPartnerships, WrittenOnSeat3ReadOnEverySeat) {
    CRecordTable table(3);
    table.Deal(9);
    g_nDeals = 1; // own partnership (seats 1 and 3) first
    g_score[0] = 120;
    g_score[1] = 45;
    FillDealEntry(0, "62", "45", 20, 0);
    FillDealEntry(1, "120", "-", 50, 0);
    const Bytes before = DealRecordOf();
    const Bytes bytes = BytesOf(BuildGameRecord());
    EXPECT_EQ(g_score[0], 120) << "writing leaves the state as it was";
    EXPECT_EQ(DealRecordOf(), before);
    // The record holds seats 2 and 4 first: so reads a program without a seat.
    for (int reader : {0, 2, 4, 1, 3}) {
        table.ResetForApply();
        table.MoveOwnUser(reader);
        ASSERT_EQ(ApplyRecord(bytes), static_cast<int>(bytes.size()));
        const bool swapped = reader % 2 == 0;
        EXPECT_EQ(g_score[0], swapped ? 45 : 120) << "seat " << reader;
        EXPECT_EQ(g_score[1], swapped ? 120 : 45) << "seat " << reader;
        if (swapped) {
            EXPECT_STREQ(reinterpret_cast<char*>(DealEntry(1) + kDealResult0), "-");
            EXPECT_EQ(GetDealInt(0, kDealPoints1), 20);
        } else {
            EXPECT_EQ(DealRecordOf(), before) << "seat " << reader;
        }
    }
    // The swap covers the entries played only, and no byte after the record.
    g_nDeals = 0;
    FillDealEntry(0, "1", "2", 3, 4);
    FillDealEntry(1, "5", "6", 7, 8);
    SwapPartnerships();
    EXPECT_EQ(GetDealInt(0, kDealPoints0), 4);
    EXPECT_EQ(GetDealInt(1, kDealPoints0), 7);
    g_nDeals = 1000;
    SwapPartnerships();
    EXPECT_EQ(GetDealInt(0, kDealPoints0), 3);
    EXPECT_EQ(GetDealInt(kDealEntries - 1, kDealPoints0), 0);
}

TEST(GameRecordDeclarations, ShownOrPickedCardsComeBackAsTheyWere) {
    for (bool show : {true, false}) {
        CRecordTable table(2);
        table.DealCodes(kTerzDeal);
        g_nDealer = 0;
        table.SetContract(8, kClub, 1);
        CPlayerHand& hand = *g_pHand[1];
        for (int code : {26, 30, 34})
            hand.ToggleShowCode(code, false);
        if (show) {
            hand.ShowDeclaration();
            ASSERT_EQ(hand.m_nPoints, 20);
            hand.m_nPoints += 20; // the trump king-and-queen bonus
        }
        const HandState before = HandOf(1);
        WriteAndApply(table);
        EXPECT_EQ(HandOf(1), before) << show;
        EXPECT_EQ(hand.m_nPoints, show ? 40 : 0);
        int picked = 0;
        for (int slot = 0; slot < kPileSlots; ++slot) {
            const CCard* card = hand.CardAt(slot);
            if (!card) continue;
            const bool inSet = (card->m_natSet & before.selSet) != 0;
            EXPECT_EQ(hand.IsPicked(slot), inSet) << "slot " << slot;
            EXPECT_EQ(card->m_nDrawMode, inSet && show ? kDrawFace : kDrawBack) << "slot " << slot;
            picked += inSet;
        }
        EXPECT_EQ(picked, 3);
        EXPECT_TRUE(!show || std::count(table.m_showUpdates.begin(), table.m_showUpdates.end(), 1))
            << "the shown hand's control is updated";
    }
}

} // namespace
