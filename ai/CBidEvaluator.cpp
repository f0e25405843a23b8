#include "ai/CBidEvaluator.h"

#include "ai/CCardSearch.h"
#include "ai/CFairBidEstimate.h"
#include "ai/GameCommands.h"
#include "ai/IStepPoster.h"
#include "ai/SearchBits.h"
#include "rules/Declarations.h"

#include <ctime>

using namespace search_bits;

namespace {

int Next(int p) {
    return (p + 1) & 3;
}
int Prev(int p) {
    return (p + 3) & 3;
}

// The trump king and queen (natural positions 6 and 5) of suit t.
bool HoldsKingQueen(uint32_t hand, int t) {
    uint32_t pair = InSuit(0x60, t);
    return pair != 0 && (hand & pair) == pair;
}

} // namespace

CBidEvaluator::CBidEvaluator(DeclarationFn declarations, std::atomic<int>& searchFlag,
                             const std::atomic<int>* autoPlayFlag, IStepPoster* poster)
    : m_declarations(declarations), m_searchFlag(searchFlag), m_pAutoPlay(autoPlayFlag),
      m_pPoster(poster) {}

void CBidEvaluator::SetFairPlaces(int mask, uint64_t seed) {
    m_nFairMask = mask & 0xF;
    m_nFairNow = m_nFairMask;
    m_fairRng.seed(seed);
}

void CBidEvaluator::SetFairCalls(std::vector<BidCall> calls, int recomputeMask) {
    m_calls = std::move(calls);
    m_nFairNow = recomputeMask & m_nFairMask;
}

bool CBidEvaluator::HasFairSamples(int place) const {
    return m_fair[place & 3] && m_fair[place & 3]->HasSamples();
}

bool CBidEvaluator::ReweighFair(int place, const std::vector<BidCall>& calls) {
    place &= 3;
    if (!HasFairSamples(place)) return false;
    int own[5], opp[5];
    m_fair[place]->Estimate(calls, own, opp);
    int bestValue = -1;
    for (int t = 0; t <= 4; ++t) {
        OwnEstimate[place][t] = own[t];
        OpponentEstimate[place][t] = opp[t];
        if (own[t] > bestValue) {
            bestValue = own[t];
            BestTrump[place] = t;
        }
    }
    return true;
}

CBidEvaluator::~CBidEvaluator() {
    Cancel();
}

void CBidEvaluator::Cancel() {
    m_bCancel.store(true, std::memory_order_relaxed);
    Join();
}

void CBidEvaluator::Join() {
    if (m_thread.joinable()) m_thread.join();
}

void CBidEvaluator::ClearFlags() {
    m_bRunning.store(false, std::memory_order_release);
    m_bComplete.store(false, std::memory_order_release);
}

DeclarationEstimate CBidEvaluator::RulesDeclarations(uint32_t naturalCards, int trump) {
    DeclarationResult found = FindDeclarations(naturalCards, trump);
    return DeclarationEstimate{found.points, found.bestRank};
}

int CBidEvaluator::QuickScore(uint32_t hand, int t) {
    const uint32_t T = NatToTrump(hand), P = NatToPlain(hand);
    int score = 0;
    for (int s = 0; s < 4; ++s) {
        if (s != t) {
            score += Byte(P, s);
            continue;
        }
        const int b = Byte(T, s);
        const int n = Count8(static_cast<uint32_t>(b));
        score += b;
        if (n < 3) {
            if (n < 2) score -= 200;
            if (b <= 0x30)
                score -= 50;
            else
                score -= b / 3;
        }
        if (n >= 3 && (b & 0x40) == 0) score += 10 * n;
        if (HoldsKingQueen(hand, s)) score += 60;
    }
    return score;
}

int CBidEvaluator::QuickTrumpOf(uint32_t hand) {
    int best = 0, bestScore = QuickScore(hand, 0);
    for (int t = 1; t <= 4; ++t) {
        int score = QuickScore(hand, t);
        if (score > bestScore) {
            bestScore = score;
            best = t;
        }
    }
    if ((best == 4 && bestScore < 300) || bestScore < 200) return -1;
    return best;
}

void CBidEvaluator::StartEvaluation(const uint32_t hands[4], int dealer, bool threaded) {
    Cancel(); // a previous worker of this evaluator ends first
    m_bCancel.store(false, std::memory_order_relaxed);
    m_bComplete.store(false, std::memory_order_release);
    m_bRunning.store(true, std::memory_order_release);

    for (int p = 0; p < 4; ++p)
        m_hands[p] = hands[p];
    m_nDealer = dealer & 3;
    CCardSearch init;
    for (int t = 0; t <= 4; ++t) {
        SearchState& s = DealSearch[t];
        init.InitSearch(s, hands, true);
        s.trump = t;
        s.toPlay = Next(dealer);
        s.early = 1;
        DeclarationEstimate d[4];
        for (int p = 0; p < 4; ++p)
            d[p] = m_declarations ? m_declarations(hands[p], t) : DeclarationEstimate{};
        for (int p = 0; p < 4; ++p) {
            if (m_nFairMask & (1 << p)) continue; // worked out from samples by the worker
            const DeclarationEstimate& me = d[p];
            const DeclarationEstimate& l = d[Next(p)];
            const DeclarationEstimate& r = d[Prev(p)];
            OwnEstimate[p][t] =
                (me.bestRank > 0 && me.bestRank > l.bestRank && me.bestRank > r.bestRank)
                    ? me.points / 10
                    : 0;
            OpponentEstimate[p][t] = ((l.bestRank > 0 || r.bestRank > 0) &&
                                      (l.bestRank > me.bestRank || r.bestRank > me.bestRank))
                                         ? (l.points + r.points) / 10
                                         : 0;
        }
    }
    if (threaded)
        m_thread = std::thread([this] { RunWorker(); });
    else
        RunWorker();
}

void CBidEvaluator::RunWorker() {
    if (m_startHook) m_startHook();
    int best[4] = {-1, -1, -1, -1};
    for (int p = 0; p < 4; ++p)
        if (!(m_nFairMask & (1 << p)) || (m_nFairNow & (1 << p))) BestTrump[p] = -1;
    m_searchFlag.store(1, std::memory_order_relaxed);

    CCardSearch search;
    search.SetPerspective(0);
    search.SetShortcut(false);
    search.SetContinueFlags(&m_searchFlag, m_pAutoPlay);
    search.SetCancelFlag(&m_bCancel);
    // Not the user-interface thread: no message pump here.

    auto stopped = [this] {
        return m_bCancel.load(std::memory_order_relaxed) ||
               m_searchFlag.load(std::memory_order_relaxed) == 0;
    };

    // Every place fair: nothing is worked out from the real deal.
    const int firstTrump = m_nFairMask == 0xF ? 5 : 0;
    for (int t = firstTrump; t <= 4 && !stopped(); ++t) {
        SearchState s = DealSearch[t];
        int points = 0;
        for (;;) {
            SearchState after = s;
            search.SearchTrick(s, &after, 9);
            s = after;
            points += s.trickPoints;
            if (s.toPlay < 0 || stopped()) break;
        }
        if (stopped()) break;
        int ours = points, theirs = 162 - points;
        if (ours == 162) ours = 250;
        if (theirs == 162) theirs = 250;
        for (int p = 0; p < 4; ++p) {
            if (m_nFairMask & (1 << p)) continue;
            int mine = (p & 1) == 0 ? ours : theirs;
            int other = (p & 1) == 0 ? theirs : ours;
            if (t < 4) {
                const uint32_t* dealt = DealSearch[t].hands;
                if (HoldsKingQueen(dealt[p], t)) mine += 20;
                if (HoldsKingQueen(dealt[Next(p)], t)) other += 20;
                if (HoldsKingQueen(dealt[Prev(p)], t)) other += 20;
            }
            if (mine != 250 && OwnEstimate[p][t] > 9) OwnEstimate[p][t] -= 2;
            OwnEstimate[p][t] += mine / 10;
            OpponentEstimate[p][t] += other / 10;
            if (OwnEstimate[p][t] > best[p]) {
                best[p] = OwnEstimate[p][t];
                BestTrump[p] = t;
            }
        }
    }
    if (m_nFairNow && !stopped()) {
        timespec t0{}, t1{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t0);
        for (int p = 0; p < 4 && !stopped(); ++p) {
            if (!(m_nFairNow & (1 << p))) continue;
            m_fair[p] = std::make_unique<CFairBidEstimate>();
            if (!m_fair[p]->Sample(
                    p, m_hands[p], m_nDealer, m_declarations, m_fairRng, search, stopped,
                    m_fairSamples[p] > 0 ? m_fairSamples[p] : CFairBidEstimate::kSamples))
                break;
            ReweighFair(p, m_calls);
        }
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t1);
        m_fairMicros = (t1.tv_sec - t0.tv_sec) * 1e6 + (t1.tv_nsec - t0.tv_nsec) / 1e3;
    }
    m_nNodes.fetch_add(search.Nodes(), std::memory_order_relaxed);

    const bool ownCancel = m_bCancel.load(std::memory_order_relaxed);
    const bool complete = !ownCancel && m_searchFlag.load(std::memory_order_relaxed) != 0;
    if (!complete)
        for (int p = 0; p < 4; ++p)
            BestTrump[p] = -1;
    m_bComplete.store(complete, std::memory_order_release);
    m_bRunning.store(false, std::memory_order_release);
    if (complete) {
        if (m_pPoster) m_pPoster->PostStep(STEP_BID_TURN, 0);
        m_searchFlag.store(0, std::memory_order_relaxed);
    } else if (!ownCancel) {
        m_searchFlag.store(0, std::memory_order_relaxed);
    }
}
