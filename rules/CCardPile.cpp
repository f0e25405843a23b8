#include "rules/CCardPile.h"

#include <algorithm>
#include <cstring>

#include "rules/CCard.h"
#include "rules/Cards.h"
#include "rules/DealRandom.h"
#include "rules/ViewUtil.h"

CCardPile::CCardPile(int n) {
    std::memset(m_cardBytes, 0xFF, kPileSlots);
    m_cardBytes[kPileSlots] = 0;
    // Aces of spade, heart, diamond, club, then the kings down to the sevens: every
    // deck on every program lists its cards in this same slot order.
    int code = 3;
    for (int made = 0; made < n && made < kPileSlots; ++made) {
        Add(new CCard(code), -1);
        code = code == 0 ? 51 : code - 1;
    }
}

CCardPile::~CCardPile() {
    for (int slot = 0; slot < kPileSlots; ++slot)
        CCardPile::RemoveAt(slot);
}

int CCardPile::FirstFreeSlot() const {
    for (int slot = 0; slot < kPileSlots; ++slot)
        if (m_slots[slot].state == kSlotEmpty) return slot;
    return -1;
}

int CCardPile::FindSlot(int code) const {
    if (code < 0) return -1;
    for (int slot = 0; slot < kPileSlots; ++slot)
        if (m_slots[slot].state != kSlotEmpty && m_slots[slot].card->m_nCode == code) return slot;
    return -1;
}

int CCardPile::FindSlotBySet(uint32_t trumpSet) const {
    if (trumpSet == 0) return -1;
    for (int slot = 0; slot < kPileSlots; ++slot)
        if (m_slots[slot].state != kSlotEmpty && m_slots[slot].card->m_trumpSet == trumpSet)
            return slot;
    return -1;
}

CCard* CCardPile::CardAt(int slot) const {
    if (slot < 0 || slot >= kPileSlots) return nullptr;
    return m_slots[slot].state != kSlotEmpty ? m_slots[slot].card : nullptr;
}

int CCardPile::Add(CCard* card, int slot) {
    if (!card) return -1;
    if (slot < 0) slot = FirstFreeSlot();
    if (slot < 0 || slot >= kPileSlots || m_slots[slot].state != kSlotEmpty) return -1;
    card->AddRef();
    m_slots[slot].card = card;
    m_slots[slot].state = kSlotHeld;
    m_slots[slot].key = CCard::SortKeyOf(card->m_nCode);
    m_cardBytes[slot] = static_cast<uint8_t>(card->m_nCode + 1);
    ++m_nCount;
    m_natSet |= card->m_natSet;
    m_plainSet |= card->m_plainSet;
    m_trumpSet |= card->m_trumpSet;
    return slot;
}

void CCardPile::RemoveAt(int slot) {
    if (slot < 0 || slot >= kPileSlots || m_slots[slot].state == kSlotEmpty) return;
    CardSlot& s = m_slots[slot];
    CCard* card = s.card;
    m_natSet &= ~card->m_natSet;
    m_plainSet &= ~card->m_plainSet;
    m_trumpSet &= ~card->m_trumpSet;
    if (s.state == kSlotDealt) --m_nDealt;
    s.card = nullptr;
    s.state = kSlotEmpty;
    s.key = 0;
    m_cardBytes[slot] = kEmptyCardByte;
    m_reserved &= ~(uint64_t{1} << slot);
    --m_nCount;
    card->Release();
}

void CCardPile::Clear() {
    for (int slot = 0; slot < kPileSlots; ++slot)
        RemoveAt(slot);
    m_natSet = m_plainSet = m_trumpSet = 0;
}

void CCardPile::Sort() {
    CardSlot sorted[kPileSlots];
    uint8_t bytes[kPileSlots];
    int order[kPileSlots];
    for (int i = 0; i < kPileSlots; ++i)
        order[i] = i;
    auto key = [this](int i) -> int {
        return m_slots[i].state == kSlotEmpty ? 0xFFFF : m_slots[i].key;
    };
    std::stable_sort(order, order + kPileSlots, [&](int a, int b) { return key(a) < key(b); });
    uint64_t reserved = 0;
    for (int i = 0; i < kPileSlots; ++i) {
        sorted[i] = m_slots[order[i]];
        bytes[i] = m_cardBytes[order[i]];
        if (m_reserved & (uint64_t{1} << order[i])) reserved |= uint64_t{1} << i;
    }
    std::copy(sorted, sorted + kPileSlots, m_slots);
    std::copy(bytes, bytes + kPileSlots, m_cardBytes);
    m_reserved = reserved;
}

void CCardPile::Redraw(bool invalidate) {
    for (int slot = 0; slot < kPileSlots; ++slot)
        if (m_slots[slot].state != kSlotEmpty) m_slots[slot].card->Draw(false);
    if (invalidate) InvalidateView();
}

CCard* CCardPile::DealOut(int slot) {
    if (slot < 0 || slot >= kPileSlots) return nullptr;
    CardSlot& s = m_slots[slot];
    if (s.state == kSlotHeld) {
        s.state = kSlotDealt;
        ++m_nDealt;
        m_reserved &= ~(uint64_t{1} << slot);
    }
    return s.state == kSlotDealt ? s.card : nullptr;
}

void CCardPile::ReturnDealt() {
    for (CardSlot& s : m_slots)
        if (s.state == kSlotDealt) s.state = kSlotHeld;
    m_nDealt = 0;
    m_reserved = 0;
}

void CCardPile::PickRandom(int n, uint8_t* out) const {
    if (!out) return;
    uint64_t taken = m_reserved;
    int available = 0;
    for (int slot = 0; slot < kPileSlots; ++slot)
        if (m_slots[slot].state == kSlotHeld && !(taken & (uint64_t{1} << slot))) ++available;
    int i = 0;
    for (; i < n && available > 0; ++i, --available) {
        // The r-th free slot in slot order that this string does not yet hold.
        uint64_t r = DealRandom(static_cast<uint64_t>(available));
        for (int slot = 0; slot < kPileSlots; ++slot) {
            if (m_slots[slot].state != kSlotHeld || (taken & (uint64_t{1} << slot))) continue;
            if (r-- == 0) {
                taken |= uint64_t{1} << slot;
                out[i] = static_cast<uint8_t>(slot + 1);
                break;
            }
        }
    }
    out[i] = 0;
}

void CCardPile::Reserve(const uint8_t* list) {
    for (; list && *list; ++list) {
        int slot = *list - 1;
        if (slot < kPileSlots && m_slots[slot].state == kSlotHeld)
            m_reserved |= uint64_t{1} << slot;
    }
}
