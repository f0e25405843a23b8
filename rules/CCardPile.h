// A pile of up to 52 card slots with the union of its cards in the three
// codings. The deck is a pile of 32 cards built in a fixed slot order, so that
// deck slot numbers name the same cards on every program.
#pragma once

#include <cstdint>

class CCard;

constexpr int kPileSlots = 52;

// Slot states.
constexpr int kSlotEmpty = 0;
constexpr int kSlotHeld = 1;
constexpr int kSlotDealt = 2; // dealt out of the deck (deck only)

struct CardSlot {
    CCard* card = nullptr;
    int32_t state = kSlotEmpty;
    uint16_t key = 0; // sort key of the card; 0 when empty
};

class CCardPile {
public:
    // Builds an empty pile; with n > 0 creates n new cards with codes 3, 2, 1, 0, 51, 50, ...
    explicit CCardPile(int n = 0);
    virtual ~CCardPile();
    virtual void Redraw(bool invalidate);
    virtual void Clear();
    // Adds the card at `slot` (first free slot when negative); returns the slot or -1.
    virtual int Add(CCard* card, int slot = -1);
    virtual void Sort();

    int FirstFreeSlot() const;
    int FindSlot(int code) const;               // -1 for a negative code or when absent
    int FindSlotBySet(uint32_t trumpSet) const; // -1 for 0 or when absent
    CCard* CardAt(int slot) const;              // null for an empty slot or outside 0..51
    void RemoveAt(int slot);

    // Deck operations.
    CCard* DealOut(int slot); // marks the slot dealt and lends its card; null if not held
    void ReturnDealt();
    // Picks n distinct undealt slots at random; writes slot + 1 for each into out and a 0
    // after them (out holds at least n + 1 bytes). Picking deals nothing.
    // Slots already reserved by Reserve are never picked.
    void PickRandom(int n, uint8_t* out) const;
    // Marks the listed slots (slot + 1 bytes, zero-terminated) as promised to a deal
    // command still on its way, so that the next pick cannot choose them again.
    // Dealing a slot or ReturnDealt lifts the mark.
    void Reserve(const uint8_t* list);

    int32_t Count() const { return m_nCount; }

    CardSlot m_slots[kPileSlots];
    int32_t m_nCount = 0;
    int32_t m_nDealt = 0;
    uint32_t m_natSet = 0;
    uint32_t m_plainSet = 0;
    uint32_t m_trumpSet = 0;
    uint8_t m_cardBytes[kPileSlots + 1]; // code + 1 per slot, 255 when empty, then 0
    uint64_t m_reserved = 0;             // bit per slot: picked for a deal not yet applied

    CCardPile(const CCardPile&) = delete;
    CCardPile& operator=(const CCardPile&) = delete;
};
