#include "ai/CardPruning.h"

#include "ai/SearchRules.h"

using namespace search_bits;

namespace search_rules {

namespace {

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

uint32_t FeedPartner(const SearchNode& s, uint32_t candidates) {
    const uint32_t tmask = SuitMask(s.trump);
    const uint32_t x = TrumpToPlain(candidates & ~tmask);
    if (!x) return candidates;
    const int me = s.toPlay & 3;
    const int left = Next(me), right = Prev(me), partner = Partner(me);
    const uint32_t L = TrumpToPlain(s.coded[left]), R = TrumpToPlain(s.coded[right]),
                   P = TrumpToPlain(s.coded[partner]);
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

// The lead, by the rules for a suit contract (steps 1-4) and the plain lead (step 5).
uint32_t PruneLead(const SearchNode& s, uint32_t hand) {
    const int me = s.toPlay & 3;
    const int left = Next(me), right = Prev(me), partner = Partner(me);
    const int trump = s.trump;
    const uint32_t tmask = SuitMask(trump);
    uint8_t tl = 0, tr = 0;
    if (trump < 4) {
        const uint8_t tm = Byte(hand, trump);
        tl = Byte(s.coded[left], trump);
        tr = Byte(s.coded[right], trump);
        const uint8_t tp = Byte(s.coded[partner], trump);
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
    const uint32_t L = TrumpToPlain(s.coded[left]), R = TrumpToPlain(s.coded[right]),
                   P = TrumpToPlain(s.coded[partner]);
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

RunTables::RunTables() {
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

const RunTables& Runs() {
    static const RunTables tables;
    return tables;
}

} // namespace search_rules

bool BeatsCard(uint16_t packed, uint16_t winner, int trump) {
    return search_rules::BeatsCard(packed, winner, trump);
}

uint32_t LegalCardsFor(const SearchState& s, uint32_t hand, int place) {
    return search_rules::LegalCardsFor(SearchNode::Of(s), hand, place);
}

uint32_t LegalCards(const SearchState& s, uint32_t hand) {
    return search_rules::LegalCardsFor(SearchNode::Of(s), hand, s.toPlay);
}

bool CannotBeat(const SearchState& s, uint32_t x) {
    return search_rules::CannotBeat(SearchNode::Of(s), x);
}

uint32_t PlayLow(const SearchState& s, uint32_t x) {
    return search_rules::PlayLow(SearchNode::Of(s), x);
}

uint32_t FeedPartner(const SearchState& s, uint32_t candidates) {
    return search_rules::FeedPartner(SearchNode::Of(s), candidates);
}

uint32_t Prune(const SearchState& s, uint32_t legal, int leadSuit, int n) {
    return search_rules::Prune(SearchNode::Of(s), legal, leadSuit, n);
}

uint32_t ReduceRuns(const SearchState& s, uint32_t candidates) {
    return search_rules::ReduceRuns(search_rules::Runs(), SearchNode::Of(s), candidates);
}

uint32_t LowAndHighPerSuit(uint32_t set, int trump) {
    return search_rules::LowAndHighPerSuit(set, trump);
}
