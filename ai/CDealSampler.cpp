#include "ai/CDealSampler.h"

#include <algorithm>
#include <bit>

#include "ai/CSeatKnowledge.h"

namespace {

constexpr uint32_t kAllCards = 0xFFFFFFFFu;

double Factorial(int n) {
    double f = 1;
    for (int i = 2; i <= n; ++i)
        f *= i;
    return f;
}

// Ways to split k distinct cards into groups of a, b and c.
double Multinomial(int a, int b, int c) {
    return Factorial(a + b + c) / (Factorial(a) * Factorial(b) * Factorial(c));
}

// Calls f(a, b, c) for every way of giving the k cards of class cls to the three
// unseen places (a + b + c = k), where bit i of cls says place i may hold them.
template <class F> void ForEachSplit(int cls, int k, F&& f) {
    for (int a = 0; a <= k; ++a) {
        if (a && !(cls & 1)) break;
        for (int b = 0; a + b <= k; ++b) {
            if (b && !(cls & 2)) break;
            const int c = k - a - b;
            if (c && !(cls & 4)) continue;
            f(a, b, c);
        }
    }
}

} // namespace

CDealSampler::CDealSampler(int me, uint32_t ownHand) : m_me(me & 3), m_own(ownHand) {
    const int others = (32 - std::popcount(ownHand)) / 3;
    m_unknown = kAllCards & ~ownHand;
    for (int i = 0; i < 3; ++i) {
        m_allowed[i] = m_unknown;
        m_need[i] = others;
    }
    Prepare();
}

CDealSampler::CDealSampler(const CSeatKnowledge& k) : m_me(k.Me()), m_own(k.OwnHand()) {
    uint32_t known = 0;
    for (int p = 0; p < 4; ++p)
        if (p != m_me) {
            m_fixed[p] = k.Known(p) & ~m_own;
            known |= m_fixed[p];
        }
    m_unknown = kAllCards & ~m_own & ~k.Gone() & ~known;
    for (int i = 0; i < 3; ++i) {
        const int p = (m_me + 1 + i) & 3;
        m_allowed[i] = m_unknown & ~k.Excluded(p);
        m_need[i] = std::max(0, k.HandSize(p) - std::popcount(m_fixed[p]));
    }
    Prepare();
}

void CDealSampler::Prepare() {
    std::fill(std::begin(m_class), std::end(m_class), 0u);
    for (uint32_t rest = m_unknown; rest; rest &= rest - 1) {
        const uint32_t card = rest & (0u - rest);
        int mask = 0;
        for (int i = 0; i < 3; ++i)
            if (m_allowed[i] & card) mask |= 1 << i;
        m_class[mask] |= card;
    }
    std::fill(std::begin(m_memo), std::end(m_memo), -1.0);
    // A card no place may hold or hand sizes that do not add up leave no
    // consistent deal: the cards are then dealt freely to the sizes wanted.
    const int needed = m_need[0] + m_need[1] + m_need[2];
    m_bRelaxed = m_class[0] != 0 || std::popcount(m_unknown) != needed || m_need[0] > 8 ||
                 m_need[1] > 8 || m_need[2] > 8 || Count(1, m_need[0], m_need[1], m_need[2]) <= 0;
}

double CDealSampler::Count(int cls, int n0, int n1, int n2) const {
    if (n0 < 0 || n1 < 0 || n2 < 0) return 0;
    if (cls == 8) return (n0 | n1 | n2) == 0 ? 1 : 0;
    const int k = std::popcount(m_class[cls]);
    if (k == 0) return Count(cls + 1, n0, n1, n2);
    double& memo = m_memo[((cls * 9 + n0) * 9 + n1) * 9 + n2];
    if (memo >= 0) return memo;
    double total = 0;
    ForEachSplit(cls, k, [&](int a, int b, int c) {
        total += Multinomial(a, b, c) * Count(cls + 1, n0 - a, n1 - b, n2 - c);
    });
    memo = total;
    return total;
}

double CDealSampler::Consistent() const {
    return m_bRelaxed ? 0 : Count(1, m_need[0], m_need[1], m_need[2]);
}

bool CDealSampler::Sample(std::mt19937_64& rng, uint32_t hands[4]) {
    for (int p = 0; p < 4; ++p)
        hands[p] = m_fixed[p];
    hands[m_me] = m_own;
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    if (m_bRelaxed) {
        // Deal what nobody is known to hold at random, to the sizes wanted.
        int cards[32], n = 0;
        for (uint32_t rest = m_unknown; rest; rest &= rest - 1)
            cards[n++] = std::countr_zero(rest);
        std::shuffle(cards, cards + n, rng);
        int at = 0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < m_need[i] && at < n; ++j)
                hands[(m_me + 1 + i) & 3] |= 1u << cards[at++];
        return false;
    }
    int need[3] = {m_need[0], m_need[1], m_need[2]};
    for (int cls = 1; cls < 8; ++cls) {
        const uint32_t set = m_class[cls];
        const int k = std::popcount(set);
        if (k == 0) continue;
        // Choose how many of this class each place gets, weighted by the deals that follow.
        struct Split {
            int a, b, c;
            double w;
        } splits[81]; // a and b are at most 8 each: no more than 9 * 9 splits
        int n = 0;
        double total = 0;
        ForEachSplit(cls, k, [&](int a, int b, int c) {
            const double w =
                Multinomial(a, b, c) * Count(cls + 1, need[0] - a, need[1] - b, need[2] - c);
            if (w <= 0 || n == 81) return;
            splits[n++] = {a, b, c, w};
            total += w;
        });
        if (n == 0) return false; // cannot happen while the counts are right
        double x = uniform(rng) * total;
        int pick = 0;
        while (pick < n - 1 && x >= splits[pick].w) {
            x -= splits[pick].w;
            ++pick;
        }
        int cards[32], m = 0;
        for (uint32_t rest = set; rest; rest &= rest - 1)
            cards[m++] = std::countr_zero(rest);
        std::shuffle(cards, cards + m, rng);
        const int counts[3] = {splits[pick].a, splits[pick].b, splits[pick].c};
        int at = 0;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < counts[i]; ++j)
                hands[(m_me + 1 + i) & 3] |= 1u << cards[at++];
            need[i] -= counts[i];
        }
    }
    return true;
}
