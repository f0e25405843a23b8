#include "record/GameRecord.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/GameState.h"
#include "record/IRecordFrame.h"
#include "record/IRecordView.h"
#include "record/RecordFormat.h"
#include "record/RecordWriter.h"

IRecordView* g_pRecordView = nullptr;
IRecordFrame* g_pRecordFrame = nullptr;

namespace {

// Deal record entries 0..g_nDeals, bounded to the entries the record holds.
int DealEntriesInUse() {
    if (g_nDeals < 0) return 0;
    return std::min(g_nDeals, kDealEntries - 1) + 1;
}

void SwapBytes(uint8_t* entry, int a, int b, int width) {
    std::swap_ranges(entry + a, entry + a + width, entry + b);
}

} // namespace

bool OwnSeatIsOdd() {
    if (!g_bSeated) return false;
    const int seat = SeatOfUser(OwnUserId());
    return seat == 1 || seat == 3;
}

void SwapPartnerships() {
    std::swap(g_score[0], g_score[1]);
    const int n = DealEntriesInUse();
    for (int i = 0; i < n; ++i) {
        uint8_t* entry = g_dealRecord + i * kDealEntrySize;
        SwapBytes(entry, kDealResult0, kDealResult1, kDealResultLen);
        SwapBytes(entry, kDealPoints0, kDealPoints1, 4);
    }
}

RecordPtr PutDealRecord(RecordPtr list) {
    if (g_nDeals < 0) return list;
    const size_t n = static_cast<size_t>(DealEntriesInUse()) * kDealEntrySize;
    std::string text(reinterpret_cast<const char*>(g_dealRecord), n);
    std::replace(text.begin(), text.end(), '\0', '\xFF');
    return PutSequence(PutKind(kKindDealRecord, PutString(text, nullptr)), std::move(list));
}

RecordPtr PutHand(int seat, RecordPtr list) {
    const int place = PlaceOfSeat(seat);
    if (seat < 1 || seat > kKindHandLast - 9 || place < 0 || place > 3 || !g_pHand[place])
        return list;
    const CPlayerHand& hand = *g_pHand[place];
    RecordPtr content = PutInteger(hand.m_bWinsDecl, nullptr);
    content = PutInteger(hand.m_bComputer, std::move(content));
    content = PutInteger(hand.m_bMayDeclare, std::move(content));
    content = PutInteger(hand.m_nPoints, std::move(content));
    content = PutInteger(static_cast<int32_t>(hand.m_selSet), std::move(content));
    content = PutString(
        std::string_view(reinterpret_cast<const char*>(hand.m_cardBytes), kHandRecordSize),
        std::move(content));
    content = PutKind(9 + seat, std::move(content));
    return PutSequence(std::move(content), std::move(list));
}

RecordPtr PutTable(RecordPtr list) {
    if (!g_pTable) return list;
    uint8_t bytes[kTableRecordSize];
    g_pTable->WriteRecord(bytes);
    RecordPtr content = PutKind(kKindTable, PutBits(sizeof bytes, bytes, nullptr));
    return PutSequence(std::move(content), std::move(list));
}

RecordPtr PutBidding(RecordPtr list) {
    std::vector<uint8_t> state;
    if (!g_pRecordView || !g_pRecordView->SaveBidding(state)) return list;
    RecordPtr content = PutKind(kKindBidding, PutBits(state.size(), state.data(), nullptr));
    return PutSequence(std::move(content), std::move(list));
}

RecordPtr PutContract(RecordPtr list) {
    if (g_contract.turn == -1) return list;
    RecordPtr content = PutInteger(SeatOfPlace(g_contract.turn), nullptr);
    content = PutInteger(SeatOfPlace(g_contract.declarer), std::move(content));
    content = PutInteger(SeatOfPlace(g_contract.redoubledBy), std::move(content));
    content = PutInteger(SeatOfPlace(g_contract.doubledBy), std::move(content));
    content = PutInteger(g_contract.trump, std::move(content));
    content = PutInteger(g_contract.value, std::move(content));
    content = PutKind(kKindContract, std::move(content));
    return PutSequence(std::move(content), std::move(list));
}

RecordPtr PutGameValues(RecordPtr list) {
    const std::pair<int, int32_t> pairs[] = {
        {kKindDealer, SeatOfPlace(g_nDealer)},
        {kKindBidRule, g_nBidRule},
        {kKindBidder, SeatOfPlace(g_nBidder)},
        {kKindDeals, g_nDeals},
        {kKindScore0, g_score[0]},
        {kKindScore1, g_score[1]},
    };
    RecordPtr content;
    for (auto it = std::rbegin(pairs); it != std::rend(pairs); ++it)
        content = PutKind(it->first, PutInteger(it->second, std::move(content)));
    return PutSequence(std::move(content), std::move(list));
}

RecordPtr PutChatLines(std::span<const std::string> lines, RecordPtr list) {
    RecordPtr content;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        std::string_view line(*it);
        line = line.substr(0, std::min({line.size(), kMaxChatLine, line.find('\0')}));
        content = PutString(line, std::move(content));
    }
    if (!content) return list;
    return PutSequence(PutKind(kKindChat, std::move(content)), std::move(list));
}

RecordPtr PutPendingGame(const CRecordBuffer* record, RecordPtr list) {
    if (!record) return list;
    if (record->IsOverflow()) return CRecordBuffer::MakeOverflow();
    RecordPtr content = PutBits(record->Length(), record->Data(), nullptr);
    return PutSequence(PutKind(kKindPendingGame, std::move(content)), std::move(list));
}

RecordPtr BuildGameRecord(RecordPtr extras) {
    const bool swap = OwnSeatIsOdd();
    if (swap) SwapPartnerships();

    RecordPtr list = PutDealRecord(nullptr);
    list = JoinBuffers(std::move(extras), std::move(list));
    for (int seat = 4; seat >= 1; --seat)
        list = PutHand(seat, std::move(list));
    list = PutTable(std::move(list));
    list = PutBidding(std::move(list));
    list = PutContract(std::move(list));
    list = PutGameValues(std::move(list));
    RecordPtr record = PutSequence(std::move(list), nullptr);

    if (swap) SwapPartnerships();
    if (!record || record->IsOverflow()) return nullptr;
    return record;
}
