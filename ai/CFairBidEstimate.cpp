#include "ai/CFairBidEstimate.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>

#include "ai/CCardSearch.h"
#include "ai/CDealSampler.h"
#include "ai/SearchBits.h"

using namespace search_bits;

namespace {

std::atomic<bool> s_weighting{true};
std::atomic<double> s_caution{1.0};
std::atomic<double> s_opponentCaution{1.0};

int Next(int p) {
    return (p + 1) & 3;
}
int Prev(int p) {
    return (p + 3) & 3;
}
bool HoldsKingQueen(uint32_t hand, int t) {
    const uint32_t pair = InSuit(0x60, t);
    return pair != 0 && (hand & pair) == pair;
}

// Points of partnership 0 (places 0 and 2) when the deal is played out with
// trump t by the search seeing all four hands; -1 when stopped.
int PlayOut(CCardSearch& search, const uint32_t hands[4], int dealer, int t,
            const std::function<bool()>& stopped) {
    SearchState s;
    search.InitSearch(s, hands, true);
    s.trump = t;
    s.toPlay = Next(dealer);
    s.early = 1;
    search.SetPerspective(0);
    search.SetShortcut(false);
    int points = 0;
    for (;;) {
        SearchState after = s;
        search.SearchTrick(s, &after, 9);
        s = after;
        points += s.trickPoints;
        if (stopped()) return -1;
        if (s.toPlay < 0) return points;
    }
}

} // namespace

void CFairBidEstimate::SetCaution(double standardDeviations) {
    s_caution.store(standardDeviations, std::memory_order_relaxed);
    s_opponentCaution.store(standardDeviations, std::memory_order_relaxed);
}

void CFairBidEstimate::SetOpponentCaution(double standardDeviations) {
    s_opponentCaution.store(standardDeviations, std::memory_order_relaxed);
}

void CFairBidEstimate::SetWeighting(bool on) {
    s_weighting.store(on, std::memory_order_relaxed);
}

double CFairBidEstimate::CallWeight(const int estimates[4][5], int me,
                                    const std::vector<BidCall>& calls) {
    if (!s_weighting.load(std::memory_order_relaxed)) return 1.0;
    double w = 1.0;
    int value = 7, suit = -1, bidder = -1; // the contract so far
    for (const BidCall& c : calls) {
        const int q = c.place & 3;
        if (q != me) {
            if (c.suit >= 0 && c.suit <= 4) {
                // A bet: the bidder's side expects to make it.
                const int short_ = c.value - estimates[q][c.suit];
                if (short_ > 0) w *= std::pow(0.5, short_);
            } else if (c.suit == 5 && bidder >= 0 && suit >= 0) {
                // A double: the doubler expects the declaring side to fail.
                const int over = estimates[bidder][suit] - value + 1;
                if (over > 0) w *= std::pow(0.5, over);
            } else if (c.suit == 7 || c.suit == 8) {
                // A pass: the place saw no trump worth more than the contract.
                int most = 0;
                for (int t = 0; t <= 4; ++t)
                    most = std::max(most, estimates[q][t]);
                if (most > value) w *= std::pow(0.7, most - value);
            }
        }
        if (c.suit >= 0 && c.suit <= 4) {
            value = c.value;
            suit = c.suit;
            bidder = q;
        }
    }
    return w;
}

bool CFairBidEstimate::Sample(int me, uint32_t ownHand, int dealer, DeclarationFn declarations,
                              std::mt19937_64& rng, CCardSearch& search,
                              const std::function<bool()>& stopped, int samples) {
    m_me = me & 3;
    me = m_me;
    m_samples.clear();
    CDealSampler sampler(me, ownHand);
    for (int i = 0; i < samples; ++i) {
        uint32_t hands[4];
        sampler.Sample(rng, hands);
        // Every place's estimates in this deal, as the evaluation of a real deal gives them.
        int est[4][5], opp[4][5];
        for (int t = 0; t <= 4; ++t) {
            DeclarationEstimate d[4];
            for (int p = 0; p < 4; ++p)
                d[p] = declarations ? declarations(hands[p], t) : DeclarationEstimate{};
            const int points = PlayOut(search, hands, dealer, t, stopped);
            if (points < 0) {
                m_samples.clear();
                return false;
            }
            int ours = points, theirs = 162 - points;
            if (ours == 162) ours = 250;
            if (theirs == 162) theirs = 250;
            for (int p = 0; p < 4; ++p) {
                const int l = Next(p), r = Prev(p);
                int mineEst = (d[p].bestRank > 0 && d[p].bestRank > d[l].bestRank &&
                               d[p].bestRank > d[r].bestRank)
                                  ? d[p].points / 10
                                  : 0;
                int otherEst = ((d[l].bestRank > 0 || d[r].bestRank > 0) &&
                                (d[l].bestRank > d[p].bestRank || d[r].bestRank > d[p].bestRank))
                                   ? (d[l].points + d[r].points) / 10
                                   : 0;
                int mine = (p & 1) == 0 ? ours : theirs;
                int other = (p & 1) == 0 ? theirs : ours;
                if (t < 4) {
                    if (HoldsKingQueen(hands[p], t)) mine += 20;
                    if (HoldsKingQueen(hands[l], t)) other += 20;
                    if (HoldsKingQueen(hands[r], t)) other += 20;
                }
                if (mine != 250 && mineEst > 9) mineEst -= 2;
                est[p][t] = mineEst + mine / 10;
                opp[p][t] = otherEst + other / 10;
            }
        }
        Valued v;
        for (int p = 0; p < 4; ++p)
            for (int t = 0; t <= 4; ++t)
                v.own[p][t] = est[p][t];
        for (int t = 0; t <= 4; ++t)
            v.opponent[t] = opp[me][t];
        m_samples.push_back(v);
    }
    return true;
}

void CFairBidEstimate::Estimate(const std::vector<BidCall>& calls, int own[5],
                                int opponent[5]) const {
    double sumOwn[5] = {}, sumOpp[5] = {}, sqOwn[5] = {}, sqOpp[5] = {}, weights = 0;
    for (const Valued& v : m_samples) {
        const double w = CallWeight(v.own, m_me, calls);
        for (int t = 0; t <= 4; ++t) {
            const double o = v.own[m_me][t], p = v.opponent[t];
            sumOwn[t] += w * o;
            sumOpp[t] += w * p;
            sqOwn[t] += w * o * o;
            sqOpp[t] += w * p * p;
        }
        weights += w;
    }
    // The own side's estimate is taken below the mean and the other side's above
    // it, by the spread over the samples: a contract is bid, and a double made,
    // only when the deals that may lie behind the own hand mostly support it.
    const double k = s_caution.load(std::memory_order_relaxed);
    const double kp = s_opponentCaution.load(std::memory_order_relaxed);
    for (int t = 0; t <= 4; ++t) {
        if (weights <= 0) {
            own[t] = opponent[t] = 0;
            continue;
        }
        const double mo = sumOwn[t] / weights, mp = sumOpp[t] / weights;
        const double so = std::sqrt(std::max(0.0, sqOwn[t] / weights - mo * mo));
        const double sp = std::sqrt(std::max(0.0, sqOpp[t] / weights - mp * mp));
        own[t] = static_cast<int>(std::lround(mo - k * so));
        opponent[t] = static_cast<int>(std::lround(mp + kp * sp));
    }
}
