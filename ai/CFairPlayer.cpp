#include "ai/CFairPlayer.h"

#include <bit>

#include "ai/CDealSampler.h"
#include "ai/CSeatKnowledge.h"
#include "ai/CardPruning.h"
#include "ai/SearchBits.h"

using namespace search_bits;

uint32_t CFairPlayer::ChooseCard(const CSeatKnowledge& knowledge) {
    m_nLastSamples = 0;
    const int me = knowledge.Me();
    const uint32_t own = knowledge.OwnHand();
    if (own == 0 || knowledge.ToPlay() != me) return 0;

    CDealSampler sampler(knowledge);
    uint32_t hands[4];
    sampler.Sample(m_rng, hands);
    SearchState s;
    int limit = m_search.InitSearch(s, hands, knowledge.Trick());
    const uint32_t legal = LegalCards(s, NatToTrump(own));
    // Equivalent cards (touching, or separated only by cards gone) are the same
    // in every sample: the cards gone are the same.
    const uint32_t candidates = ReduceRuns(s, legal);
    if (std::popcount(candidates) <= 1) return candidates ? candidates : legal & (0u - legal);

    int cards[8] = {};
    long long sums[8] = {};
    int n = 0;
    for (uint32_t rest = candidates; rest && n < 8; rest &= rest - 1)
        cards[n++] = std::countr_zero(rest);

    m_search.SetPerspective(me);
    m_search.SetShortcut(false);
    const uint64_t start = m_search.Nodes();
    for (int sample = 0; sample < m_nSamples; ++sample) {
        if (sample > 0) {
            if (m_search.Nodes() - start >= kNodeBudget) break;
            sampler.Sample(m_rng, hands);
            limit = m_search.InitSearch(s, hands, knowledge.Trick());
            m_search.SetPerspective(me);
            m_search.SetShortcut(false);
        }
        for (int i = 0; i < n; ++i)
            sums[i] += m_search.ValueOfCard(s, 1u << cards[i], limit);
        ++m_nLastSamples;
    }

    // The best total; on a tie the card worth fewer points, then the lower card.
    int best = 0;
    for (int i = 1; i < n; ++i) {
        const uint16_t pi = PackNatural(TrumpToNat(1u << cards[i]));
        const uint16_t pb = PackNatural(TrumpToNat(1u << cards[best]));
        if (sums[i] > sums[best] ||
            (sums[i] == sums[best] && PackedPoints(pi, s.trump) < PackedPoints(pb, s.trump)))
            best = i;
    }
    return 1u << cards[best];
}
