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

struct TrickState {
    Bytes cards, playedBy;
    std::vector<int32_t> tricks; // leader, winner, winCard, count per trick up to the current
    int32_t curTrick;
    bool operator==(const TrickState&) const = default;
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

TrickState TableOf() {
    const CTrickPile& t = *g_pTable;
    TrickState s{Bytes(t.m_cardBytes, t.m_cardBytes + 53),
                 Bytes(t.m_playedBy, t.m_playedBy + 53),
                 {},
                 t.m_nCurTrick};
    for (int i = 0; i <= t.m_nCurTrick && i < kMaxTricks; ++i)
        s.tricks.insert(s.tricks.end(), {t.m_tricks[i].leader, t.m_tricks[i].winner,
                                         t.m_tricks[i].winCard, t.m_tricks[i].count});
    return s;
}

std::vector<int32_t> ContractOf() {
    return {g_contract.value,       g_contract.trump,    g_contract.doubledBy,
            g_contract.redoubledBy, g_contract.declarer, g_contract.turn};
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
    SetDealInt(n, kDealDouble, 1);
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

int Apply(const Bytes& record) {
    return ApplyRecord(record);
}

// ---- round trips ----

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

    HandState hands[4];
    for (int p = 0; p < 4; ++p)
        hands[p] = HandOf(p);
    const TrickState trick = TableOf();
    const auto contract = ContractOf();
    const Bytes deals = DealRecordOf();

    RecordPtr record = BuildGameRecord();
    ASSERT_TRUE(record);
    const Bytes bytes = BytesOf(record);
    EXPECT_EQ(bytes[0], kTagSequence);
    // The record is written in the order of its parts.
    EXPECT_EQ(KindsOf(bytes), (std::vector<int>{2, 3, 4, 5, 6, 7, 9, 17, 10, 11, 12, 13, 8}));

    table.ResetForApply();
    EXPECT_EQ(Apply(bytes), static_cast<int>(bytes.size()));

    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(HandOf(p), hands[p]) << "place " << p;
    EXPECT_EQ(TableOf(), trick);
    EXPECT_EQ(ContractOf(), contract);
    EXPECT_EQ(g_nDealer, 3);
    EXPECT_EQ(g_nBidRule, 4);
    EXPECT_EQ(g_nBidder, -1);
    EXPECT_EQ(g_nDeals, 3);
    EXPECT_EQ(g_score[0], 57);
    EXPECT_EQ(g_score[1], 112);
    EXPECT_EQ(DealRecordOf(), deals);
    EXPECT_EQ(GetDealInt(2, kDealPoints0), 150);
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

    const Bytes bytes = BytesOf(BuildGameRecord());
    table.ResetForApply();
    ASSERT_EQ(Apply(bytes), static_cast<int>(bytes.size()));

    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(g_declare[p].value, before[p].value) << "place " << p;
        EXPECT_STREQ(g_declare[p].text, before[p].text) << "place " << p;
    }
    // The own hand lies face up here and comes back sorted.
    const CPlayerHand& own = *g_pHand[0];
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
    CBiddingModel& model = *table.Bidding();
    ASSERT_FALSE(model.IsOver());
    const int toCall = model.PlaceToCall();
    const std::vector<uint8_t> saved = model.SaveState();
    ASSERT_EQ(g_contract.turn, -1);

    const Bytes bytes = BytesOf(BuildGameRecord());
    table.ResetForApply();
    ASSERT_EQ(Apply(bytes), static_cast<int>(bytes.size()));

    ASSERT_NE(table.Bidding(), nullptr);
    CBiddingModel& back = *table.Bidding();
    EXPECT_EQ(back.SaveState(), saved);
    EXPECT_EQ(back.PlaceToCall(), toCall);
    EXPECT_EQ(g_nBidder, toCall);
    EXPECT_EQ(back.ContractValue(), 9);
    EXPECT_EQ(back.ContractSuit(), kSpade);
    EXPECT_EQ(back.ContractBidder(), PartnerPlace(first));
    EXPECT_EQ(back.Doubler(), PreviousPlace(first));
    EXPECT_EQ(g_nDealer, 2);
}

TEST(GameRecordRoundTrip, WithoutContractTheContractStaysReset) {
    CRecordTable table(2);
    table.Deal(3);
    g_nDealer = 1;
    table.OpenBidding();
    ASSERT_EQ(g_contract.turn, -1);
    const Bytes bytes = BytesOf(BuildGameRecord());
    const auto kinds = KindsOf(bytes);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), kKindContract), 0);

    table.ResetForApply();
    ASSERT_EQ(Apply(bytes), static_cast<int>(bytes.size()));
    EXPECT_EQ(ContractOf(), std::vector<int32_t>(6, -1));
    EXPECT_EQ(g_nDealer, 1);
}

TEST(GameRecordRoundTrip, RecordWithoutViewHoldsNoBidding) {
    CRecordTable table(2);
    table.Deal(3);
    table.OpenBidding();
    g_pRecordView = nullptr;
    const Bytes bytes = BytesOf(BuildGameRecord());
    const auto kinds = KindsOf(bytes);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), kKindBidding), 0);
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
    RecordPtr extras = PutChatLines(lines, PutPendingGame(pending.get(), nullptr));
    const Bytes bytes = BytesOf(BuildGameRecord(std::move(extras)));
    const auto kinds = KindsOf(bytes);
    // Between the hands and the deal record.
    ASSERT_GE(kinds.size(), 3u);
    EXPECT_EQ(kinds[kinds.size() - 3], kKindChat);
    EXPECT_EQ(kinds[kinds.size() - 2], kKindPendingGame);
    EXPECT_EQ(kinds.back(), kKindDealRecord);

    table.ResetForApply();
    ASSERT_EQ(Apply(bytes), static_cast<int>(bytes.size()));
    ASSERT_EQ(table.m_chat.size(), 3u);
    EXPECT_EQ(table.m_chat[0], lines[0]);
    EXPECT_EQ(table.m_chat[1], lines[1]);
    EXPECT_EQ(table.m_chat[2], lines[2].substr(0, 255));
    ASSERT_TRUE(table.m_bPending);
    EXPECT_EQ(table.m_pending, BytesOf(pending));
    EXPECT_EQ(g_score[0], 30);
}

TEST(GameRecordRoundTrip, RecordThatWouldNotFitIsNotBuilt) {
    CRecordTable table(2);
    table.Deal(5);
    const RecordPtr huge = CRecordBuffer::FromBytes(Bytes(65500, 0x41));
    RecordPtr extras = PutPendingGame(huge.get(), nullptr);
    EXPECT_FALSE(BuildGameRecord(std::move(extras)));
    // The state is left as it was (no partnership swap left behind).
    g_score[0] = 1;
    EXPECT_TRUE(BuildGameRecord());
    EXPECT_EQ(g_score[0], 1);
}

// ---- partnerships ----

TEST(GameRecordPartnerships, WrittenOnSeat3ReadOnSeat2) {
    CRecordTable table(3);
    table.Deal(9);
    // Own partnership (seats 1 and 3) first.
    g_nDeals = 1;
    g_score[0] = 120;
    g_score[1] = 45;
    FillDealEntry(0, "62", "45", 20, 0);
    FillDealEntry(1, "120", "-", 50, 0);
    const Bytes before = DealRecordOf();

    const Bytes bytes = BytesOf(BuildGameRecord());
    // Writing leaves the state as it was.
    EXPECT_EQ(g_score[0], 120);
    EXPECT_EQ(DealRecordOf(), before);

    // The record itself holds the partnership of seats 2 and 4 first.
    table.ResetForApply();
    table.MoveOwnUser(0);
    ASSERT_EQ(g_bSeated, 0);
    ASSERT_EQ(Apply(bytes), static_cast<int>(bytes.size()));
    EXPECT_EQ(g_score[0], 45);
    EXPECT_EQ(g_score[1], 120);

    for (int reader : {2, 4}) {
        table.ResetForApply();
        table.MoveOwnUser(reader);
        ASSERT_EQ(Apply(bytes), static_cast<int>(bytes.size()));
        EXPECT_EQ(g_score[0], 45) << "seat " << reader;
        EXPECT_EQ(g_score[1], 120) << "seat " << reader;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(DealEntry(1) + kDealResult0)), "-");
        EXPECT_EQ(std::string(reinterpret_cast<char*>(DealEntry(1) + kDealResult1), 3), "120");
        EXPECT_EQ(GetDealInt(0, kDealPoints0), 0);
        EXPECT_EQ(GetDealInt(0, kDealPoints1), 20);
    }
    for (int reader : {1, 3}) {
        table.ResetForApply();
        table.MoveOwnUser(reader);
        ASSERT_EQ(Apply(bytes), static_cast<int>(bytes.size()));
        EXPECT_EQ(g_score[0], 120) << "seat " << reader;
        EXPECT_EQ(g_score[1], 45) << "seat " << reader;
        EXPECT_EQ(DealRecordOf(), before) << "seat " << reader;
    }
}

TEST(GameRecordPartnerships, SwapCoversOnlyTheEntriesPlayed) {
    CRecordTable table(1);
    g_nDeals = 0;
    FillDealEntry(0, "1", "2", 3, 4);
    FillDealEntry(1, "5", "6", 7, 8);
    SwapPartnerships();
    EXPECT_EQ(GetDealInt(0, kDealPoints0), 4);
    EXPECT_EQ(GetDealInt(1, kDealPoints0), 7);
    // A deal count beyond the record swaps every entry and no byte after it.
    g_nDeals = 1000;
    SwapPartnerships();
    EXPECT_EQ(GetDealInt(0, kDealPoints0), 3);
    EXPECT_EQ(GetDealInt(kDealEntries - 1, kDealPoints0), 0);
}

// ---- declarations on the hands ----

TEST(GameRecordDeclarations, ShownDeclarationComesBackPickedAndFaceUp) {
    CRecordTable table(2);
    // Place 1 (seat 3) holds 7 8 9 of hearts (a Terz) and the king and queen of clubs.
    table.DealCodes({{1, 2, 3, 25, 27, 29, 31, 33},
                     {0, 24, 28, 32, 36, 40, 38, 42},
                     {26, 30, 34, 44, 48, 37, 41, 39},
                     {43, 45, 46, 47, 49, 50, 51, 35}});
    g_nDealer = 0;
    table.SetContract(8, kClub, 1);
    const int place = PlaceOfSeat(3);
    ASSERT_EQ(place, 1);
    CPlayerHand& hand = *g_pHand[place];
    for (int code : {26, 30, 34})
        hand.ToggleShowCode(code, false);
    hand.ShowDeclaration();
    ASSERT_EQ(hand.m_nPoints, 20);
    hand.m_nPoints += 20; // the trump king-and-queen bonus
    const HandState shown = HandOf(place);
    ASSERT_EQ(shown.mayDeclare, 0);

    const Bytes bytes = BytesOf(BuildGameRecord());
    table.ResetForApply();
    ASSERT_EQ(Apply(bytes), static_cast<int>(bytes.size()));

    EXPECT_EQ(HandOf(place), shown);
    EXPECT_EQ(hand.m_nPoints, 40);
    int picked = 0;
    for (int slot = 0; slot < kPileSlots; ++slot) {
        const CCard* card = hand.CardAt(slot);
        if (!card) continue;
        const bool inSet = (card->m_natSet & shown.selSet) != 0;
        EXPECT_EQ(hand.IsPicked(slot), inSet) << "slot " << slot;
        EXPECT_EQ(card->m_nDrawMode, inSet ? kDrawFace : kDrawBack) << "slot " << slot;
        picked += inSet;
    }
    EXPECT_EQ(picked, 3);
    EXPECT_NE(std::find(table.m_showUpdates.begin(), table.m_showUpdates.end(), place),
              table.m_showUpdates.end());
}

TEST(GameRecordDeclarations, PickedButNotShownStaysHidden) {
    CRecordTable table(2);
    table.DealCodes({{1, 2, 3, 25, 27, 29, 31, 33},
                     {0, 24, 28, 32, 36, 40, 38, 42},
                     {26, 30, 34, 44, 48, 37, 41, 39},
                     {43, 45, 46, 47, 49, 50, 51, 35}});
    g_nDealer = 0;
    table.SetContract(8, kClub, 1);
    CPlayerHand& hand = *g_pHand[1];
    hand.ToggleShowCode(30, false);
    hand.ToggleShowCode(34, false);
    const HandState before = HandOf(1);

    const Bytes bytes = BytesOf(BuildGameRecord());
    table.ResetForApply();
    ASSERT_EQ(Apply(bytes), static_cast<int>(bytes.size()));
    EXPECT_EQ(HandOf(1), before);
    EXPECT_EQ(hand.m_nPoints, 0);
    const int slot = hand.FindSlot(30);
    ASSERT_GE(slot, 0);
    EXPECT_TRUE(hand.IsPicked(slot));
    EXPECT_EQ(hand.CardAt(slot)->m_nDrawMode, kDrawBack);
}

} // namespace
