// Inline card-set arithmetic for the search's inner loop: the same codings as
// rules/Cards.h, but header-only so that the hot paths need no calls.
#pragma once

#include <bit>
#include <cstdint>

namespace search_bits {

constexpr uint32_t NatToPlain(uint32_t s) {
    return ((s >> 1) & 0x38383838u) | ((s & 0x08080808u) << 3) | (s & 0x87878787u);
}
constexpr uint32_t PlainToTrump(uint32_t s) {
    return ((s & 0x0C0C0C0Cu) << 4) | ((s >> 2) & 0x3C3C3C3Cu) | (s & 0x03030303u);
}
constexpr uint32_t TrumpToPlain(uint32_t s) {
    return ((s & 0x3C3C3C3Cu) << 2) | ((s >> 4) & 0x0C0C0C0Cu) | (s & 0x03030303u);
}
constexpr uint32_t PlainToNat(uint32_t s) {
    return ((s >> 3) & 0x08080808u) | ((s & 0x38383838u) << 1) | (s & 0x87878787u);
}
constexpr uint32_t NatToTrump(uint32_t s) {
    return PlainToTrump(NatToPlain(s));
}
constexpr uint32_t TrumpToNat(uint32_t s) {
    return PlainToNat(TrumpToPlain(s));
}

constexpr uint8_t Byte(uint32_t set, int suit) {
    return suit >= 0 && suit < 4 ? static_cast<uint8_t>(set >> (8 * suit)) : 0;
}
constexpr uint32_t InSuit(uint32_t byte, int suit) {
    return suit >= 0 && suit < 4 ? (byte & 0xFFu) << (8 * suit) : 0;
}
// Every card of a suit; 0 for no trumps (suit 4).
constexpr uint32_t SuitMask(int suit) {
    return InSuit(0xFF, suit);
}

// Bit counts: a single instruction where the build enables one (see ai/CMakeLists.txt).
inline int Count8(uint32_t b) {
    return std::popcount(b & 0xFFu);
}
inline int Count32(uint32_t s) {
    return std::popcount(s);
}
inline uint8_t High(uint8_t b) {
    return b ? static_cast<uint8_t>(0x80u >> std::countl_zero(b)) : 0;
}
inline uint8_t Low(uint8_t b) {
    return static_cast<uint8_t>(b & (0u - b));
}
inline uint8_t DropHigh(uint8_t b) {
    return static_cast<uint8_t>(b & ~High(b));
}
inline uint8_t DropLow(uint8_t b) {
    return static_cast<uint8_t>(b & (b - 1u));
}
// Every bit above the (single) bit given.
inline uint8_t Above(uint8_t bit) {
    return bit ? static_cast<uint8_t>(~((bit << 1) - 1u)) : 0;
}

// Card points by natural position 0..7 (7 8 9 10 J Q K A).
inline constexpr int kTrumpPoints[8] = {0, 0, 14, 10, 20, 3, 4, 11};
inline constexpr int kPlainPoints[8] = {0, 0, 0, 10, 2, 3, 4, 11};
inline constexpr int kNoTrumpPoints[8] = {0, 0, 0, 10, 2, 3, 4, 19};

// Points of a card given as a packed suit rank (natural one-bit rank, suit).
inline int PackedPoints(uint16_t packed, int trump) {
    uint8_t bit = static_cast<uint8_t>(packed);
    if (bit == 0 || (bit & (bit - 1)) != 0) return 0;
    int pos = std::countr_zero(static_cast<unsigned>(bit));
    int suit = packed >> 8;
    if (trump == 4) return kNoTrumpPoints[pos];
    return suit == trump ? kTrumpPoints[pos] : kPlainPoints[pos];
}

// Natural one-card set of a card code (0..3 aces, 24..51 sevens to kings).
inline uint32_t NatOf(int code) {
    int pos = ((code < 4 ? code + 52 : code) - 24) / 4;
    return (1u << pos) << (8 * (code & 3));
}

// Packed suit rank of a one-card set in natural coding.
inline uint16_t PackNatural(uint32_t oneCard) {
    int bitIndex = std::countr_zero(oneCard);
    int suit = bitIndex >> 3;
    return static_cast<uint16_t>((suit << 8) | (1u << (bitIndex & 7)));
}
inline uint32_t UnpackNatural(uint16_t packed) {
    return InSuit(packed & 0xFFu, packed >> 8);
}

} // namespace search_bits
