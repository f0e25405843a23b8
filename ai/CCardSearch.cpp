#include "ai/CCardSearch.h"

#include "ai/CardPruning.h"
#include "ai/SearchBits.h"
#include "ai/SearchNode.h"
#include "ai/SearchRules.h"
#include "platform/Tick.h"

using namespace search_bits;

namespace {

constexpr int kInfinity = 1 << 28;

bool SameSide(int a, int b) {
    return ((a ^ b) & 1) == 0;
}

void ClearTrick(SearchState& s) {
    for (int i = 0; i < 4; ++i) {
        s.trick[i] = 0;
        s.winnerAfter[i] = -1;
    }
    s.count = 0;
}

} // namespace

CCardSearch::CCardSearch() : m_bAlways(true), m_runs(&search_rules::Runs()) {}

int CCardSearch::InitSearch(SearchState& s, const uint32_t hands[4], bool forBidding) {
    m_nDepth = 0;
    ClearTrick(s);
    s.chosenCard = 0;
    s.trickPoints = 0;
    s.lastWinner = -1;
    s.early = 1;
    s.trump = -1;
    s.toPlay = -1;
    for (int p = 0; p < 4; ++p)
        s.hands[p] = hands[p];
    m_bShortcut = !forBidding;
    return 9;
}

int CCardSearch::InitSearch(SearchState& s, const uint32_t hands[4], const TrickStart& trick) {
    InitSearch(s, hands, false);
    s.trump = trick.trump;
    s.early = trick.cardsPlayed < 12 ? 1 : 0;
    int leader = trick.leader & 3;
    int count = trick.count < 0 ? 0 : (trick.count > 3 ? 3 : trick.count);
    for (int i = 0; i < count; ++i) {
        int code = trick.codes[i];
        if (code < 0 || code > 51) break;
        int place = (leader + i) & 3;
        int suit = code & 3;
        int pos = ((code < 4 ? code + 52 : code) - 24) / 4;
        if (pos < 0 || pos > 7) break;
        uint16_t packed = static_cast<uint16_t>((suit << 8) | (1u << pos));
        s.trick[place] = packed;
        s.hands[place] &= ~UnpackNatural(packed);
        int winner = place;
        if (i > 0) {
            int w = s.winnerAfter[i - 1];
            winner = BeatsCard(packed, s.trick[w], s.trump) ? place : w;
        }
        s.winnerAfter[i] = winner;
        s.count = i + 1;
    }
    s.toPlay = (leader + s.count) & 3;
    if (trick.cardsPlayed < 12) return 9;
    return trick.trump == 4 ? 13 : 45;
}

void CCardSearch::MaybePump() {
    uint32_t now = GetTickCount();
    if (now - m_nLastPump >= m_nPumpInterval) {
        m_nLastPump = now;
        m_pump(m_pumpContext);
    }
}

int CCardSearch::SearchTrick(SearchState& s, SearchState* result, int limit) {
    SearchNode node = SearchNode::Of(s);
    return Search(node, result, limit, -kInfinity, kInfinity);
}

// alpha: a value the perspective side is sure of above; beta: the other side's.
// A line strictly below alpha or strictly above beta cannot matter any more.
// The node's cards are played and taken back in place: on return it is as given.
int CCardSearch::Search(SearchNode& s, SearchState* result, int limit, int alpha, int beta) {
    ++m_nNodes;
    if (m_pump && (m_nNodes & 63) == 0) MaybePump();

    const int me = s.toPlay & 3;
    const uint32_t hand = s.coded[me];
    const int n = Count32(hand);
    if (n == 0) return 0; // nothing to play: the position is over

    uint32_t candidates = hand;
    if (n > 1) {
        if (s.count > 0) {
            const int leadSuit = s.trick[s.winnerAfter[0] & 3] >> 8;
            candidates =
                search_rules::Prune(s, search_rules::LegalCardsFor(s, hand, me), leadSuit, n);
        } else {
            candidates = search_rules::Prune(s, hand, -1, n);
        }
    }
    const uint32_t reduced = search_rules::ReduceRuns(*m_runs, s, candidates);

    if (m_nDepth == 0 && Count32(reduced) <= 1 && n > 1 && m_bShortcut) {
        if (result) result->chosenCard = reduced;
        return kShortcut;
    }

    ++m_nDepth;
    const bool mine = SameSide(me, m_nPerspective);
    const int before = s.count;
    const uint16_t winning = before > 0 ? s.trick[s.winnerAfter[before - 1] & 3] : 0;
    int best = 0, bestPoints = 0;
    bool have = false;
    SearchState saved;
    uint32_t rest = reduced;
    while (rest) {
        const uint32_t c = 0x80000000u >> std::countl_zero(rest);
        rest &= ~c;
        const uint32_t nat = TrumpToNat(c);
        const uint16_t packed = PackNatural(nat);
        const int points = s.cardPoints[std::countr_zero(nat)];
        s.Play(me, c, nat, packed, points,
               before > 0 && search_rules::BeatsCard(packed, winning, s.trump));

        int a = alpha, b = beta;
        if (have && m_bCutoffs) {
            if (mine)
                a = best > a ? best : a;
            else
                b = best < b ? best : b;
        }
        int v;
        if (before < 3) {
            s.toPlay = (me + 1) & 3;
            v = Search(s, result, limit, a, b);
        } else {
            v = ScoreTrick(s, result, limit, a, b);
        }
        s.TakeBack(me, c, nat);

        bool keep = !have || (mine ? v > best : v < best);
        if (!keep && have && v == best && result) {
            const bool winnerMine = SameSide(result->lastWinner, me);
            keep = points < bestPoints ? !winnerMine : winnerMine;
        }
        if (keep) {
            have = true;
            best = v;
            bestPoints = points;
            if (result) {
                saved = *result;
                saved.chosenCard = c;
            }
        }
        if (m_bCutoffs && (mine ? best > beta : best < alpha)) break;
    }
    if (result && have) *result = saved;
    --m_nDepth;
    return best;
}

int CCardSearch::ScoreTrick(SearchNode& s, SearchState* result, int limit, int alpha, int beta) {
    const int w = s.winnerAfter[3];
    const bool ours = SameSide(w, m_nPerspective);
    const int cardPoints = s.points[0] + s.points[1] + s.points[2] + s.points[3];
    int trickPoints = ours ? cardPoints : 0;
    int total = ours ? cardPoints : -cardPoints;
    const bool last = s.hands[w & 3] == 0;
    if (ours) {
        if (last) {
            total += 10;
            trickPoints += 10;
        }
        total += 50;
    } else {
        total -= 50;
        if (last) total -= 10;
    }

    if (result) {
        // The position after the trick, as the caller reads it.
        result->chosenCard = s.chosenCard;
        result->trickPoints = trickPoints;
        result->lastWinner = w;
        result->early = s.early;
        for (int i = 0; i < 4; ++i) {
            result->hands[i] = s.hands[i];
            result->trick[i] = 0;
            result->winnerAfter[i] = -1;
        }
        result->trump = s.trump;
        result->toPlay = last ? -1 : w;
        result->count = 0;
    }
    const bool further = !last && (m_nDepth < limit || Count32(s.hands[0]) <= 1);
    if (further && GoesOn()) {
        // The next trick searched from this node: the finished trick put aside
        // and brought back after.
        const uint64_t trick = s.trick[0] | uint64_t{s.trick[1]} << 16 |
                               uint64_t{s.trick[2]} << 32 | uint64_t{s.trick[3]} << 48;
        const int32_t points[4] = {s.points[0], s.points[1], s.points[2], s.points[3]};
        const int32_t winners[4] = {s.winnerAfter[0], s.winnerAfter[1], s.winnerAfter[2], w};
        const int toPlay = s.toPlay;
        for (int i = 0; i < 4; ++i) {
            s.trick[i] = 0;
            s.points[i] = 0;
            s.winnerAfter[i] = -1;
        }
        s.count = 0;
        s.toPlay = w;
        const int a = alpha <= -kInfinity ? alpha : alpha - total;
        const int b = beta >= kInfinity ? beta : beta - total;
        total += SearchAfterTrick(s, limit, a, b);
        for (int i = 0; i < 4; ++i) {
            s.trick[i] = static_cast<uint16_t>(trick >> (16 * i));
            s.points[i] = points[i];
            s.winnerAfter[i] = winners[i];
        }
        s.count = 4;
        s.toPlay = toPlay;
    }
    return total;
}
// The search of the next trick, through the transposition table. The window is
// inclusive: a value inside [alpha, beta] is exact, one above beta a lower bound
// and one below alpha an upper bound, so a stored bound answers only when it
// lies strictly outside the window on its own side.
int CCardSearch::SearchAfterTrick(SearchNode& after, int limit, int alpha, int beta) {
    if (!m_bTable) return Search(after, nullptr, limit, alpha, beta);
    if (!m_table) {
        m_table = std::make_unique<TableEntry[]>(size_t{1} << kTableBits);
    }
    const uint32_t context =
        static_cast<uint32_t>(after.toPlay & 3) | static_cast<uint32_t>(m_nDepth & 63) << 2 |
        static_cast<uint32_t>(limit & 63) << 8 | static_cast<uint32_t>(m_nPerspective & 3) << 14 |
        static_cast<uint32_t>(after.trump & 7) << 16 |
        static_cast<uint32_t>(after.early & 1) << 19 | m_nGeneration << 20;
    uint64_t h =
        (static_cast<uint64_t>(after.hands[0]) << 32 | after.hands[1]) * 0x9E3779B97F4A7C15ull;
    h ^= (static_cast<uint64_t>(after.hands[2]) << 32 | after.hands[3]) * 0xC2B2AE3D27D4EB4Full;
    h ^= context * 0x165667B19E3779F9ull;
    TableEntry& e = m_table[(h ^ (h >> 29)) & ((size_t{1} << kTableBits) - 1)];
    if (e.bound != 0 && e.context == context && e.hands[0] == after.hands[0] &&
        e.hands[1] == after.hands[1] && e.hands[2] == after.hands[2] &&
        e.hands[3] == after.hands[3]) {
        if (e.bound == 1 || (e.bound == 2 && e.value > beta) || (e.bound == 3 && e.value < alpha))
            return e.value;
    }
    const int v = Search(after, nullptr, limit, alpha, beta);
    if (!GoesOn()) {
        // Stopped on the way: what was found below is not the position's value.
        m_nGeneration = (m_nGeneration + 1) & 0xFFF;
        return v;
    }
    e.hands[0] = after.hands[0];
    e.hands[1] = after.hands[1];
    e.hands[2] = after.hands[2];
    e.hands[3] = after.hands[3];
    e.context = context;
    e.value = v;
    e.bound = v > beta ? 2 : (v < alpha ? 3 : 1);
    return v;
}

int CCardSearch::ValueOfCard(SearchState& state, uint32_t card, int limit) {
    SearchNode s = SearchNode::Of(state);
    const int me = s.toPlay & 3;
    const uint32_t nat = TrumpToNat(card);
    const uint16_t packed = PackNatural(nat);
    const int before = s.count;
    m_nDepth = 1;
    const bool beats = before > 0 && search_rules::BeatsCard(
                                         packed, s.trick[s.winnerAfter[before - 1] & 3], s.trump);
    s.Play(me, card, nat, packed, PackedPoints(packed, s.trump), beats);
    int v;
    if (s.count < 4) {
        s.toPlay = (me + 1) & 3;
        v = Search(s, nullptr, limit, -kInfinity, kInfinity);
    } else {
        v = ScoreTrick(s, nullptr, limit, -kInfinity, kInfinity);
    }
    m_nDepth = 0;
    return v;
}
