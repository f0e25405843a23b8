#include "record/CRecordReader.h"

#include <algorithm>
#include <cstring>

#include "ai/CBiddingModel.h"
#include "rules/CCard.h"
#include "rules/CPlayerHand.h"
#include "rules/CTrickPile.h"
#include "rules/Cards.h"
#include "rules/Declarations.h"
#include "rules/GameState.h"
#include "rules/TableView.h"
#include "record/GameRecord.h"
#include "record/IRecordFrame.h"
#include "record/IRecordView.h"
#include "record/RecordFormat.h"

namespace {

// Totals and hand points far beyond any game: a value read from a record is kept
// inside this range so that the scoring's sums cannot overflow.
constexpr int32_t kMaxPoints = 1000000;
constexpr int32_t kMaxContractValue = 82;
// A saved bidding state: the calls (3 bytes each), then 5 bytes.
constexpr size_t kBiddingTail = 5;
constexpr size_t kBiddingMax = kBiddingSaveMax;

int32_t ReadInteger(const uint8_t* content, size_t length) {
    uint32_t v = 0;
    for (size_t i = 0; i < length; ++i)
        v = (v << 8) | content[i];
    return static_cast<int32_t>(v);
}

// A place 0..3, or -1.
int PlaceFromSeat(int32_t seat) {
    const int place = PlaceOfSeat(seat);
    return place >= 0 && place <= 3 ? place : -1;
}

int32_t Bounded(int32_t v, int32_t lo, int32_t hi) {
    return std::clamp(v, lo, hi);
}

// A stored card byte names one of the game's 32 cards.
bool IsGameCardByte(uint8_t b) {
    return (b >= 1 && b <= 4) || (b >= 25 && b <= 52);
}

uint64_t CardBit(uint8_t b) {
    return uint64_t{1} << (b - 1);
}

} // namespace

int CRecordReader::Apply(std::span<const uint8_t> bytes) {
    m_nKind = kKindNone;
    m_nField = 0;
    m_bScoresRead = m_bDealRecordRead = false;
    std::fill(std::begin(m_handCards), std::end(m_handCards), 0);
    m_tableCards = 0;
    const int taken = Walk(bytes);
    // The record holds the partnership of seats 2 and 4 first.
    if ((m_bScoresRead || m_bDealRecordRead) && OwnSeatIsOdd()) {
        if (m_bDealRecordRead) {
            SwapPartnerships();
        } else {
            std::swap(g_score[0], g_score[1]);
        }
    }
    return taken;
}

void CRecordReader::ApplyElement(uint8_t tag, const uint8_t* content, size_t length) {
    switch (tag) {
    case kTagKind: {
        const int kind = length > 0 ? content[length - 1] : kKindNone;
        if (kind >= 1 && kind <= kKindLast) {
            m_nKind = kind;
            m_nField = 0;
        } else {
            m_nKind = kKindNone;
        }
        break;
    }
    case kTagInteger:
        ApplyInteger(ReadInteger(content, length));
        break;
    case kTagBitString:
    case kTagOctetString:
    case kTagTime:
        ApplyData(content, length);
        break;
    case kTagString:
        ApplyString(content, length);
        break;
    default:
        break;
    }
}

void CRecordReader::ApplyInteger(int32_t v) {
    switch (m_nKind) {
    case kKindDealer:
        g_nDealer = PlaceFromSeat(v);
        break;
    case kKindBidRule:
        g_nBidRule = v;
        break;
    case kKindBidder:
        g_nBidder = PlaceFromSeat(v);
        break;
    case kKindDeals:
        // Entry g_nDeals of the deal record is written by the scoring: keep it inside.
        g_nDeals = Bounded(v, -1, kDealEntries - 1);
        break;
    case kKindScore0:
    case kKindScore1:
        g_score[m_nKind - kKindScore0] = Bounded(v, -kMaxPoints, kMaxPoints);
        m_bScoresRead = true;
        break;
    case kKindContract:
        ApplyContractField(v);
        break;
    case kKindTable:
        ++m_nField;
        break;
    default:
        if (m_nKind >= kKindHandFirst && m_nKind <= kKindHandLast) ApplyHandField(v);
        break;
    }
}

void CRecordReader::ApplyContractField(int32_t v) {
    switch (m_nField++) {
    case 0:
        g_contract.value = v >= -1 && v <= kMaxContractValue ? v : -1;
        break;
    case 1:
        g_contract.trump = v >= -1 && v <= kNoTrump ? v : -1;
        break;
    case 2:
        g_contract.doubledBy = PlaceFromSeat(v);
        break;
    case 3:
        g_contract.redoubledBy = PlaceFromSeat(v);
        break;
    case 4:
        g_contract.declarer = PlaceFromSeat(v);
        break;
    default:
        g_contract.turn = PlaceFromSeat(v);
        break;
    }
}

CPlayerHand* CRecordReader::CurrentHand(int* place) const {
    *place = PlaceFromSeat(m_nKind - 9);
    return *place >= 0 ? g_pHand[*place] : nullptr;
}

void CRecordReader::ApplyHandField(int32_t v) {
    int place = -1;
    CPlayerHand* hand = CurrentHand(&place);
    const int field = m_nField++;
    if (!hand) return;
    switch (field) {
    case 0:
        hand->m_selSet = static_cast<uint32_t>(v);
        break;
    case 1:
        hand->m_nPoints = Bounded(v, -kMaxPoints, kMaxPoints);
        break;
    case 2:
        hand->m_bMayDeclare = v != 0;
        break;
    case 3:
        hand->m_bComputer = v != 0;
        break;
    case 4:
        hand->m_bWinsDecl = v != 0;
        SettleHand(hand, place);
        break;
    default:
        break;
    }
}

void CRecordReader::ApplyData(const uint8_t* data, size_t length) {
    switch (m_nKind) {
    case kKindTable:
        if (length == kTableRecordSize && g_pTable && g_pDeck) RebuildTable(data);
        break;
    case kKindBidding:
        if (g_pRecordView && length >= kBiddingTail && length <= kBiddingMax &&
            (length - kBiddingTail) % 3 == 0)
            g_pRecordView->RestoreBidding(std::span<const uint8_t>(data, length));
        break;
    case kKindPendingGame:
        if (g_pRecordFrame) g_pRecordFrame->KeepPendingGame(std::span<const uint8_t>(data, length));
        break;
    default:
        break;
    }
}

void CRecordReader::ApplyString(const uint8_t* text, size_t length) {
    if (m_nKind == kKindChat) {
        if (!g_pRecordFrame) return;
        size_t n = std::min(length, kMaxChatLine);
        n = static_cast<size_t>(std::find(text, text + n, uint8_t{0}) - text);
        if (n > 0)
            g_pRecordFrame->AddChatLine(std::string_view(reinterpret_cast<const char*>(text), n));
    } else if (m_nKind == kKindDealRecord) {
        LoadDealRecord(text, length);
    } else if (m_nKind >= kKindHandFirst && m_nKind <= kKindHandLast) {
        LoadHand(text, length);
    }
}

void CRecordReader::LoadDealRecord(const uint8_t* bytes, size_t length) {
    std::memset(g_dealRecord, 0, sizeof g_dealRecord);
    const size_t n = std::min(length, sizeof g_dealRecord);
    for (size_t i = 0; i < n; ++i)
        g_dealRecord[i] = bytes[i] == 255 ? 0 : bytes[i];
    m_bDealRecordRead = true;
}

void CRecordReader::LoadHand(const uint8_t* bytes, size_t length) {
    int place = -1;
    CPlayerHand* hand = CurrentHand(&place);
    if (!hand || !g_pDeck) return;
    // Cards that this record has already laid elsewhere stay there.
    uint64_t elsewhere = m_tableCards;
    for (int p = 0; p < 4; ++p)
        if (p != place) elsewhere |= m_handCards[p];

    uint8_t cards[kHandRecordSize];
    uint64_t taken = 0;
    for (size_t i = 0; i < kHandRecordSize; ++i) {
        const uint8_t b = i < length ? bytes[i] : kEmptyCardByte;
        if (IsGameCardByte(b) && !((elsewhere | taken) & CardBit(b))) {
            cards[i] = b;
            taken |= CardBit(b);
        } else {
            cards[i] = kEmptyCardByte;
        }
    }
    m_handCards[place] = taken;
    hand->LoadCards(cards);
}

void CRecordReader::RebuildTable(const uint8_t* data) {
    uint8_t record[kTableRecordSize];
    std::memcpy(record, data, sizeof record);
    uint64_t inHands = 0;
    for (uint64_t cards : m_handCards)
        inHands |= cards;
    uint64_t taken = 0;
    for (int i = 0; i < kPileSlots; ++i) {
        const uint8_t b = record[i];
        if (IsGameCardByte(b) && !((inHands | taken) & CardBit(b))) {
            taken |= CardBit(b);
        } else {
            record[i] = kEmptyCardByte;
            record[kPileSlots + 1 + i] = kEmptyCardByte;
        }
    }
    record[kPileSlots] = 0;
    record[kTableRecordSize - 1] = 0;
    m_tableCards = taken;
    g_pTable->RebuildFromRecord(record);
}

void SettleHand(CPlayerHand* hand, int place) {
    if (hand->m_selSet != 0 && hand->m_nSelCount == 0) {
        const int32_t points = hand->m_nPoints;
        const int32_t mayDeclare = hand->m_bMayDeclare;
        const uint32_t selected = hand->m_selSet;
        hand->m_bMayDeclare = 1;
        for (int slot = kPileSlots - 1; slot >= 0; --slot) {
            const CCard* card = hand->CardAt(slot);
            if (!card || !(card->m_natSet & selected)) continue;
            hand->ToggleShowCode(card->m_nCode, true);
            if (g_pRecordView) g_pRecordView->UpdateShowControl(place);
        }
        if (hand->m_nSelCount > 0 && mayDeclare == 0) {
            hand->ShowDeclaration();
            if (g_pRecordView) g_pRecordView->UpdateShowControl(place);
        }
        hand->m_nPoints = points;
        hand->m_bMayDeclare = mayDeclare;
    } else if (hand->Count() == hand->m_nFull) {
        EvaluateDeclarations();
        if (hand->m_nFaceMode == kDrawFace) hand->Arrange();
    }
}

int ApplyRecord(std::span<const uint8_t> bytes) {
    CRecordReader reader;
    return reader.Apply(bytes);
}
