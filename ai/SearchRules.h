// The playing heuristics that narrow a place's cards before the search tries
// them, written inline on the search's working position so that the search's
// inner loop makes no calls. CardPruning.h offers the same rules on a
// SearchState. Every set here is in trump coding (each suit byte in trump
// order); the place to move is node.toPlay.
#pragma once

#include <algorithm>
#include <cstdint>

#include "ai/SearchBits.h"
#include "ai/SearchNode.h"

// The rules below are small and run at every node: always inlined where the
// compiler allows it.
#if defined(__GNUC__)
#define VESK_SEARCH_INLINE [[gnu::always_inline]] inline
#else
#define VESK_SEARCH_INLINE inline
#endif

namespace search_rules {

using namespace search_bits;

inline int Next(int p) {
    return (p + 1) & 3;
}
inline int Prev(int p) {
    return (p + 3) & 3;
}
inline int Partner(int p) {
    return (p + 2) & 3;
}
inline bool SameSide(int a, int b) {
    return ((a ^ b) & 1) == 0;
}

inline uint8_t TrumpByteOfNatural(uint8_t nat) {
    return static_cast<uint8_t>(NatToTrump(nat));
}
inline uint8_t PlainByteOfNatural(uint8_t nat) {
    return static_cast<uint8_t>(NatToPlain(nat));
}
inline uint8_t PlainOfTrumpByte(uint8_t t) {
    return static_cast<uint8_t>(TrumpToPlain(t));
}
inline uint8_t TrumpOfPlainByte(uint8_t p) {
    return static_cast<uint8_t>(PlainToTrump(p));
}

// Trump-coded set of the cards of the packed card's suit above it in trump order.
VESK_SEARCH_INLINE uint32_t HigherTrumpSet(uint16_t packed) {
    return InSuit(Above(TrumpByteOfNatural(static_cast<uint8_t>(packed))), packed >> 8);
}
// Trump-coded set of the cards of its suit above it in plain order.
VESK_SEARCH_INLINE uint32_t HigherPlainSet(uint16_t packed) {
    const uint8_t above = Above(PlainByteOfNatural(static_cast<uint8_t>(packed)));
    return InSuit(TrumpOfPlainByte(above), packed >> 8);
}

VESK_SEARCH_INLINE uint16_t WinningCard(const SearchNode& s) {
    return s.trick[s.winnerAfter[s.count - 1] & 3];
}
VESK_SEARCH_INLINE uint16_t LeadCard(const SearchNode& s) {
    return s.trick[s.winnerAfter[0] & 3];
}

// True when the card `packed` (natural rank, suit) beats `winner` under `trump`.
VESK_SEARCH_INLINE bool BeatsCard(uint16_t packed, uint16_t winner, int trump) {
    const int suit = packed >> 8, wsuit = winner >> 8;
    const uint8_t nat = static_cast<uint8_t>(packed), wnat = static_cast<uint8_t>(winner);
    if (trump < 4 && wsuit == trump)
        return suit == trump && TrumpByteOfNatural(nat) > TrumpByteOfNatural(wnat);
    if (trump < 4 && suit == trump) return true;
    return suit == wsuit && PlainByteOfNatural(nat) > PlainByteOfNatural(wnat);
}

// The cards of `hand` that place `place` may play to the current trick.
VESK_SEARCH_INLINE uint32_t LegalCardsFor(const SearchNode& s, uint32_t hand, int place) {
    if (s.count <= 0) return hand;
    const uint16_t lead = LeadCard(s), win = WinningCard(s);
    const int leadSuit = lead >> 8;
    const uint32_t follow = hand & SuitMask(leadSuit);
    if (s.trump >= 4) return follow ? follow : hand;
    const uint32_t trumps = hand & SuitMask(s.trump);
    if (leadSuit == s.trump) {
        const uint32_t higher = hand & HigherTrumpSet(win);
        if (higher) return higher;
        return trumps ? trumps : hand;
    }
    if (follow) return follow;
    const int winner = s.winnerAfter[s.count - 1];
    if (SameSide(winner, place)) return hand;
    const uint32_t must = (win >> 8) == s.trump ? hand & HigherTrumpSet(win) : trumps;
    return must ? must : hand;
}

// True when no card of x would take the trick from its current winning card.
VESK_SEARCH_INLINE bool CannotBeat(const SearchNode& s, uint32_t x) {
    const uint16_t win = WinningCard(s);
    const int wsuit = win >> 8;
    if (s.trump < 4 && wsuit == s.trump) return (x & HigherTrumpSet(win)) == 0;
    if (x & SuitMask(wsuit)) return (x & HigherPlainSet(win)) == 0;
    return (x & SuitMask(s.trump)) == 0;
}

// Per suit the lowest card; a lone plain-suit ace only when nothing else is left.
VESK_SEARCH_INLINE uint32_t PlayLow(const SearchNode& s, uint32_t x) {
    uint32_t result = 0, aces = 0;
    for (int suit = 0; suit < 4; ++suit) {
        const uint8_t b = Byte(x, suit);
        if (!b) continue;
        if (suit == s.trump) {
            result |= InSuit(Low(b), suit);
            continue;
        }
        const uint8_t low = Low(PlainOfTrumpByte(b));
        if (low == 0x80)
            aces |= InSuit(TrumpOfPlainByte(low), suit);
        else
            result |= InSuit(TrumpOfPlainByte(low), suit);
    }
    return result ? result : aces;
}

// Keeps only the lowest and the highest card of each suit, by strength.
inline uint32_t LowAndHighPerSuit(uint32_t set, int trump) {
    uint32_t out = 0;
    for (int suit = 0; suit < 4; ++suit) {
        const uint8_t b = Byte(set, suit);
        if (!b) continue;
        if (suit == trump) {
            out |= InSuit(Low(b) | High(b), suit);
        } else {
            const uint8_t pb = PlainOfTrumpByte(b);
            out |= InSuit(TrumpOfPlainByte(static_cast<uint8_t>(Low(pb) | High(pb))), suit);
        }
    }
    return out;
}

// The cards worth giving to a trick that the partner is winning.
uint32_t FeedPartner(const SearchNode& s, uint32_t candidates);
// The lead, by the rules for a suit contract and the plain lead.
uint32_t PruneLead(const SearchNode& s, uint32_t hand);

// The candidates worth searching; `leadSuit` is -1 when leading, n the hand's size.
VESK_SEARCH_INLINE uint32_t Prune(const SearchNode& s, uint32_t legal, int leadSuit, int n) {
    if (n < 3) return legal;
    const int me = s.toPlay & 3;
    if (s.count <= 0 || leadSuit < 0) {
        const uint32_t chosen = PruneLead(s, legal);
        return s.early ? LowAndHighPerSuit(chosen, s.trump) : chosen;
    }
    const int partner = Partner(me);
    const int winner = s.winnerAfter[s.count - 1];
    if (s.count == 1) {
        if (n >= 5 && CannotBeat(s, legal)) {
            const uint32_t partnerLegal = LegalCardsFor(s, s.coded[partner], partner);
            if (CannotBeat(s, partnerLegal)) return PlayLow(s, legal);
        }
        return legal;
    }
    if (s.count == 2 && winner == partner) {
        const int fourth = Next(me);
        const uint32_t fourthHand = s.coded[fourth];
        if (CannotBeat(s, LegalCardsFor(s, fourthHand, fourth))) return FeedPartner(s, legal);
        const uint32_t tmask = SuitMask(s.trump);
        if (!(fourthHand & SuitMask(leadSuit)) && (fourthHand & tmask)) {
            const uint8_t mine = Byte(s.coded[me], s.trump);
            if (mine > Byte(fourthHand, s.trump)) return legal;
            return PlayLow(s, legal);
        }
    }
    if (!CannotBeat(s, legal)) return legal;
    return winner == partner ? FeedPartner(s, legal) : PlayLow(s, legal);
}

// The reduction of one suit byte, by (candidates, gone), for the trump suit (in
// trump order) and for the other suits (in plain order).
struct RunTables {
    uint8_t trump[256][256];
    uint8_t plain[256][256];
    RunTables();
};
// Built once, on first use.
const RunTables& Runs();

// Reduces equivalent cards (touching, or separated only by cards already gone)
// to representatives.
VESK_SEARCH_INLINE uint32_t ReduceRuns(const RunTables& runs, const SearchNode& s,
                                       uint32_t candidates) {
    const uint32_t goneTrump = ~(s.coded[0] | s.coded[1] | s.coded[2] | s.coded[3]);
    const uint32_t gonePlain = TrumpToPlain(goneTrump);
    const uint32_t plainCandidates = TrumpToPlain(candidates);
    uint32_t trumpOut = 0, plainOut = 0;
    for (int suit = 0; suit < 4; ++suit) {
        if (suit == s.trump) {
            const uint8_t b = Byte(candidates, suit);
            if (b) trumpOut |= InSuit(runs.trump[b][Byte(goneTrump, suit)], suit);
        } else {
            const uint8_t pb = Byte(plainCandidates, suit);
            if (pb) plainOut |= InSuit(runs.plain[pb][Byte(gonePlain, suit)], suit);
        }
    }
    return trumpOut | PlainToTrump(plainOut);
}

} // namespace search_rules
