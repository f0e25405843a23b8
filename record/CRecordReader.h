// Applies a game record to this program's game state: the six values, the
// contract, the bidding state, the table, the four hands with their declaration
// state, the deal record, and the chat lines and pending game that the game flow
// adds. Seats in the record become this program's places.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "record/CBerWalker.h"

class CPlayerHand;

class CRecordReader : public CBerWalker {
public:
    // Walks the record and applies it; the number of bytes taken, or -1 when it is
    // malformed (what was applied before the fault stays applied).
    int Apply(std::span<const uint8_t> bytes);

protected:
    void ApplyElement(uint8_t tag, const uint8_t* content, size_t length) override;

private:
    void ApplyInteger(int32_t value);
    void ApplyData(const uint8_t* data, size_t length);
    void ApplyString(const uint8_t* text, size_t length);
    void ApplyContractField(int32_t value);
    void ApplyHandField(int32_t value);
    void LoadHand(const uint8_t* bytes, size_t length);
    void LoadDealRecord(const uint8_t* bytes, size_t length);
    void RebuildTable(const uint8_t* data);
    // The hand of the seat that the current kind names; null when it has no place or hand.
    CPlayerHand* CurrentHand(int* place) const;

    int m_nKind = 0;  // kind of the elements now read (kKindNone at start)
    int m_nField = 0; // INTEGERs read since the kind was set
    bool m_bScoresRead = false;
    bool m_bDealRecordRead = false;
    // Cards (bit code) that this record has put into each place's hand and on the
    // table: a card is laid in one pile only, whatever the record says.
    uint64_t m_handCards[4] = {0, 0, 0, 0};
    uint64_t m_tableCards = 0;
};

// Settles a hand after its declaration state was read: picks the selected cards
// out again (face up when the declaration had been shown), or, for a full hand
// with nothing picked, refills the declarations and arranges it when it lies face up.
void SettleHand(CPlayerHand* hand, int place);

// Applies a game record (an outer SEQUENCE) from its first byte. Returns the
// number of bytes taken, or -1 for a malformed record or one over 65535 bytes.
// The caller resets the contract, dealer, bidder, pass limit, deals and totals
// first and raises g_bRestoring around the call, as the game flow does.
int ApplyRecord(std::span<const uint8_t> bytes);
