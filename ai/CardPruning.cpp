#include "ai/CardPruning.h"

#include <algorithm>

#include "ai/SearchBits.h"

using namespace search_bits;

namespace {

int Next(int p) {
    return (p + 1) & 3;
}
int Prev(int p) {
    return (p + 3) & 3;
}
int Partner(int p) {
    return (p + 2) & 3;
}
bool SameSide(int a, int b) {
    return ((a ^ b) & 1) == 0;
}

uint8_t TrumpByteOfNatural(uint8_t nat) {
    return static_cast<uint8_t>(NatToTrump(nat));
}
uint8_t PlainByteOfNatural(uint8_t nat) {
    return static_cast<uint8_t>(NatToPlain(nat));
}
uint8_t PlainOfTrumpByte(uint8_t t) {
    return static_cast<uint8_t>(TrumpToPlain(t));
}
uint8_t TrumpOfPlainByte(uint8_t p) {
    return static_cast<uint8_t>(PlainToTrump(p));
}

// Trump-coded set of the cards of the packed card's suit above it in trump order.
uint32_t HigherTrumpSet(uint16_t packed) {
    return InSuit(Above(TrumpByteOfNatural(static_cast<uint8_t>(packed))), packed >> 8);
}
// Trump-coded set of the cards of its suit above it in plain order.
uint32_t HigherPlainSet(uint16_t packed) {
    uint8_t above = Above(PlainByteOfNatural(static_cast<uint8_t>(packed)));
    return InSuit(TrumpOfPlainByte(above), packed >> 8);
}

uint16_t WinningCard(const SearchState& s) {
    return s.trick[s.winnerAfter[s.count - 1] & 3];
}
uint16_t LeadCard(const SearchState& s) {
    return s.trick[s.winnerAfter[0] & 3];
}

// Keeps, in each run of candidates, only its lowest and highest candidate. A run
// goes on over positions already gone unless it started at position 0.
uint8_t CollapseRuns(uint8_t b, uint8_t gone) {
    uint8_t out = b;
    int pos = 0;
    while (pos < 8) {
        if (!((b >> pos) & 1)) {
            ++pos;
            continue;
        }
        int start = pos, lo = pos, hi = pos;
        ++pos;
        while (pos < 8) {
            if ((b >> pos) & 1) {
                hi = pos;
                ++pos;
            } else if (start > 0 && ((gone >> pos) & 1)) {
                ++pos;
            } else {
                break;
            }
        }
        for (int i = lo + 1; i < hi; ++i)
            out = static_cast<uint8_t>(out & ~(1u << i));
    }
    return out;
}

} // namespace

bool BeatsCard(uint16_t packed, uint16_t winner, int trump) {
    int suit = packed >> 8, wsuit = winner >> 8;
    uint8_t nat = static_cast<uint8_t>(packed), wnat = static_cast<uint8_t>(winner);
    if (trump < 4 && wsuit == trump)
        return suit == trump && TrumpByteOfNatural(nat) > TrumpByteOfNatural(wnat);
    if (trump < 4 && suit == trump) return true;
    return suit == wsuit && PlainByteOfNatural(nat) > PlainByteOfNatural(wnat);
}

uint32_t LegalCardsFor(const SearchState& s, uint32_t hand, int place) {
    if (s.count <= 0) return hand;
    uint16_t lead = LeadCard(s), win = WinningCard(s);
    int leadSuit = lead >> 8;
    uint32_t follow = hand & SuitMask(leadSuit);
    if (s.trump >= 4) return follow ? follow : hand;
    uint32_t trumps = hand & SuitMask(s.trump);
    if (leadSuit == s.trump) {
        uint32_t higher = hand & HigherTrumpSet(win);
        if (higher) return higher;
        return trumps ? trumps : hand;
    }
    if (follow) return follow;
    int winner = s.winnerAfter[s.count - 1];
    if (SameSide(winner, place)) return hand;
    uint32_t must = (win >> 8) == s.trump ? hand & HigherTrumpSet(win) : trumps;
    return must ? must : hand;
}

uint32_t LegalCards(const SearchState& s, uint32_t hand) {
    return LegalCardsFor(s, hand, s.toPlay);
}

bool CannotBeat(const SearchState& s, uint32_t x) {
    uint16_t win = WinningCard(s);
    int wsuit = win >> 8;
    if (s.trump < 4 && wsuit == s.trump) return (x & HigherTrumpSet(win)) == 0;
    if (x & SuitMask(wsuit)) return (x & HigherPlainSet(win)) == 0;
    return (x & SuitMask(s.trump)) == 0;
}

uint32_t PlayLow(const SearchState& s, uint32_t x) {
    uint32_t result = 0, aces = 0;
    for (int suit = 0; suit < 4; ++suit) {
        uint8_t b = Byte(x, suit);
        if (!b) continue;
        if (suit == s.trump) {
            result |= InSuit(Low(b), suit);
            continue;
        }
        uint8_t low = Low(PlainOfTrumpByte(b));
        if (low == 0x80)
            aces |= InSuit(TrumpOfPlainByte(low), suit);
        else
            result |= InSuit(TrumpOfPlainByte(low), suit);
    }
    return result ? result : aces;
}

uint32_t FeedPartner(const SearchState& s, uint32_t candidates) {
    const uint32_t tmask = SuitMask(s.trump);
    const uint32_t x = TrumpToPlain(candidates & ~tmask);
    if (!x) return candidates;
    const int me = s.toPlay & 3;
    const int left = Next(me), right = Prev(me), partner = Partner(me);
    const uint32_t L = NatToPlain(s.hands[left]), R = NatToPlain(s.hands[right]),
                   P = NatToPlain(s.hands[partner]);
    const int trumpsL = Count32(s.hands[left] & tmask), trumpsR = Count32(s.hands[right] & tmask),
              trumpsP = Count32(s.hands[partner] & tmask);
    const bool lHas = trumpsL > 0, rHas = trumpsR > 0, pHas = trumpsP > 0;

    uint32_t result = 0;
    int fallbackSuit = -1;
    uint8_t fallback = 0;
    for (int suit = 0; suit < 4; ++suit) {
        const uint8_t m = Byte(x, suit);
        if (!m) continue;
        const uint8_t l = Byte(L, suit), r = Byte(R, suit), p = Byte(P, suit);
        uint8_t cur = m, cl = l, cr = r;
        do {
            if (m <= l || m <= r || (l == 0 && lHas) || (r == 0 && rHas)) break;
            if (Count8(p) > Count8(m) && p >= l && p >= r) break;
            if (p == 0 && pHas && trumpsL + trumpsR >= trumpsP) break;
            cur = DropHigh(m);
            if (cur > l && cur > r && p == 0) {
                cur = m;
                break;
            }
            cl = DropLow(l);
            cr = DropLow(r);
            if (!lHas && !rHas && cur > cl && cur > cr) {
                if (x & ~SuitMask(suit)) {
                    cur = 0;
                    uint8_t low = Low(m);
                    if (fallbackSuit < 0 || low < fallback) {
                        fallbackSuit = suit;
                        fallback = low;
                    }
                } else {
                    cur = Low(cur);
                }
            }
        } while (false);
        if (s.trump == 4 && cur > cl && cur > cr) {
            uint8_t old = cur;
            cur = DropHigh(cur);
            if (cur == 0 && fallbackSuit < 0) {
                fallbackSuit = suit;
                fallback = old;
            }
        }
        result |= InSuit(cur, suit);
    }
    if (result) return PlainToTrump(result);
    if (fallbackSuit >= 0 && fallback) return PlainToTrump(InSuit(fallback, fallbackSuit));
    return candidates;
}

uint32_t LowAndHighPerSuit(uint32_t set, int trump) {
    uint32_t out = 0;
    for (int suit = 0; suit < 4; ++suit) {
        uint8_t b = Byte(set, suit);
        if (!b) continue;
        if (suit == trump) {
            out |= InSuit(Low(b) | High(b), suit);
        } else {
            uint8_t pb = PlainOfTrumpByte(b);
            out |= InSuit(TrumpOfPlainByte(static_cast<uint8_t>(Low(pb) | High(pb))), suit);
        }
    }
    return out;
}

namespace {

// The lead, by the rules for a suit contract (steps 1-4) and the plain lead (step 5).
uint32_t PruneLead(const SearchState& s, uint32_t hand) {
    const int me = s.toPlay & 3;
    const int left = Next(me), right = Prev(me), partner = Partner(me);
    const int trump = s.trump;
    const uint32_t tmask = SuitMask(trump);
    uint8_t tl = 0, tr = 0;
    if (trump < 4) {
        const uint8_t tm = Byte(hand, trump);
        tl = Byte(NatToTrump(s.hands[left]), trump);
        tr = Byte(NatToTrump(s.hands[right]), trump);
        const uint8_t tp = Byte(NatToTrump(s.hands[partner]), trump);
        bool plain = false;
        if ((tl | tr | tp) == 0) {
            if (tm == 0)
                plain = true;
            else if (hand & ~tmask)
                return hand & ~tmask;
        }
        if (!plain) {
            if (tm == 0 || (tl == 0 && tr == 0))
                plain = true;
            else if (static_cast<uint8_t>(tp | tm) <= static_cast<uint8_t>(tl | tr))
                plain = true;
            else {
                int most = std::max(Count8(tl), Count8(tr));
                if (most > Count8(tm) && most > Count8(tp)) plain = true;
            }
        }
        if (!plain) {
            const uint8_t jackNine = 0xC0; // J and 9 in trump order
            bool between = ((tm | tp) & jackNine) == jackNine;
            if (!between || (tm & jackNine) == jackNine || (tp & jackNine) == jackNine)
                return hand & tmask;
            return InSuit(Count8(tm) == 1 ? tm : DropHigh(tm), trump);
        }
    }
    // Plain lead.
    if ((tl | tr) != 0) return hand;
    const uint32_t mine = TrumpToPlain(hand & ~tmask);
    const uint32_t L = NatToPlain(s.hands[left]), R = NatToPlain(s.hands[right]),
                   P = NatToPlain(s.hands[partner]);
    int bestSuit = -1, bestScore = 0;
    uint8_t bestTop = 0;
    for (int suit = 0; suit < 4; ++suit) {
        const uint8_t m = Byte(mine, suit);
        if (!m) continue;
        const uint8_t l = Byte(L, suit), r = Byte(R, suit), p = Byte(P, suit);
        const uint8_t top = High(m);
        if (top <= High(static_cast<uint8_t>(l | r | p))) continue;
        int score = (l == 0 && r == 0) ? 25 : 10;
        const uint8_t m2 = DropHigh(m), l2 = DropLow(l), r2 = DropLow(r), p2 = DropHigh(p);
        if (m2 && High(m2) > High(static_cast<uint8_t>(l2 | r2 | p2))) {
            score += 10 + Count8(m);
            if (l2 == 0 && r2 == 0) score += 5;
        }
        if (score > bestScore) {
            bestScore = score;
            bestSuit = suit;
            bestTop = top;
        }
    }
    if (bestSuit < 0) return hand;
    return InSuit(TrumpOfPlainByte(bestTop), bestSuit);
}

} // namespace

uint32_t Prune(const SearchState& s, uint32_t legal, int leadSuit, int n) {
    if (n < 3) return legal;
    const int me = s.toPlay & 3;
    if (s.count <= 0 || leadSuit < 0) {
        uint32_t chosen = PruneLead(s, legal);
        return s.early ? LowAndHighPerSuit(chosen, s.trump) : chosen;
    }
    const int partner = Partner(me);
    const int winner = s.winnerAfter[s.count - 1];
    if (s.count == 1) {
        if (n >= 5 && CannotBeat(s, legal)) {
            uint32_t partnerLegal = LegalCardsFor(s, NatToTrump(s.hands[partner]), partner);
            if (CannotBeat(s, partnerLegal)) return PlayLow(s, legal);
        }
        return legal;
    }
    if (s.count == 2 && winner == partner) {
        const int fourth = Next(me);
        const uint32_t fourthHand = NatToTrump(s.hands[fourth]);
        if (CannotBeat(s, LegalCardsFor(s, fourthHand, fourth))) return FeedPartner(s, legal);
        const uint32_t tmask = SuitMask(s.trump);
        if (!(fourthHand & SuitMask(leadSuit)) && (fourthHand & tmask)) {
            uint8_t mine = Byte(NatToTrump(s.hands[me]), s.trump);
            if (mine > Byte(fourthHand, s.trump)) return legal;
            return PlayLow(s, legal);
        }
    }
    if (!CannotBeat(s, legal)) return legal;
    return winner == partner ? FeedPartner(s, legal) : PlayLow(s, legal);
}

namespace {

// The reduction of one suit byte, by (candidates, gone), for the trump suit (in
// trump order) and for the other suits (in plain order); built once.
struct RunTables {
    uint8_t trump[256][256];
    uint8_t plain[256][256];
    RunTables() {
        for (int b0 = 0; b0 < 256; ++b0)
            for (int gone = 0; gone < 256; ++gone) {
                uint8_t b = static_cast<uint8_t>(b0);
                if (b & 0x80) {
                    int pos = 7;
                    while (pos >= 0 && ((b >> pos) & 1))
                        --pos;
                    // pos + 1 is the lowest of the top run; drop everything above it.
                    b = static_cast<uint8_t>(b & ~Above(static_cast<uint8_t>(1u << (pos + 1))));
                }
                b = CollapseRuns(b, static_cast<uint8_t>(gone));
                if ((b & 3) == 3) b = static_cast<uint8_t>(b & ~1u);
                trump[b0][gone] = b;

                uint8_t pb = CollapseRuns(static_cast<uint8_t>(b0), static_cast<uint8_t>(gone));
                if ((pb & 3) == 3 || (pb & 6) == 6) pb = static_cast<uint8_t>(pb & ~5u);
                if ((pb & 5) == 5 && (gone & 2)) pb = static_cast<uint8_t>(pb & ~4u);
                plain[b0][gone] = pb;
            }
    }
};

const RunTables& Runs() {
    static const RunTables tables;
    return tables;
}

} // namespace

uint32_t ReduceRuns(const SearchState& s, uint32_t candidates) {
    const RunTables& runs = Runs();
    const uint32_t inHands = s.hands[0] | s.hands[1] | s.hands[2] | s.hands[3];
    const uint32_t goneTrump = ~NatToTrump(inHands);
    const uint32_t gonePlain = ~NatToPlain(inHands);
    const uint32_t plainCandidates = TrumpToPlain(candidates);
    uint32_t out = 0;
    for (int suit = 0; suit < 4; ++suit) {
        if (suit == s.trump) {
            const uint8_t b = Byte(candidates, suit);
            if (b) out |= InSuit(runs.trump[b][Byte(goneTrump, suit)], suit);
        } else {
            const uint8_t pb = Byte(plainCandidates, suit);
            if (pb) out |= PlainToTrump(InSuit(runs.plain[pb][Byte(gonePlain, suit)], suit));
        }
    }
    return out;
}
