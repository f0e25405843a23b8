#include "ai/CSeatKnowledge.h"

#include "ai/CardPruning.h"
#include "ai/SearchBits.h"

using namespace search_bits;

namespace {

// Natural set of the cards of the packed card's suit above it in trump order.
uint32_t HigherTrumps(uint16_t packed) {
    const uint8_t t = static_cast<uint8_t>(NatToTrump(static_cast<uint8_t>(packed)));
    return TrumpToNat(InSuit(Above(t), packed >> 8));
}

} // namespace

CSeatKnowledge::CSeatKnowledge(int me, uint32_t ownHand, int trump, int leader)
    : m_me(me & 3), m_own(ownHand) {
    m_trick.trump = trump;
    m_trick.leader = leader & 3;
}

void CSeatKnowledge::AddShown(int place, uint32_t naturalCards) {
    if ((place & 3) != m_me) m_known[place & 3] |= naturalCards;
}

void CSeatKnowledge::Observe(int place, int code) {
    place &= 3;
    const uint32_t nat = NatOf(code);
    const int trump = m_trick.trump;

    if (m_trick.count > 0) {
        // Which card would the rules have demanded? Not holding one is what shows.
        uint16_t lead = PackNatural(NatOf(m_trick.codes[0]));
        uint16_t win = lead;
        int winner = m_trick.leader;
        for (int i = 1; i < m_trick.count; ++i) {
            const uint16_t c = PackNatural(NatOf(m_trick.codes[i]));
            if (BeatsCard(c, win, trump)) {
                win = c;
                winner = (m_trick.leader + i) & 3;
            }
        }
        const int ledSuit = lead >> 8;
        const uint32_t ledCards = SuitMask(ledSuit);
        const uint32_t trumps = trump < 4 ? SuitMask(trump) : 0;
        uint32_t first = ledCards, second = 0;
        if (trump < 4 && ledSuit == trump) {
            first = HigherTrumps(win);
            second = trumps;
        } else if (trump < 4 && ((winner ^ place) & 1) != 0) {
            second = (win >> 8) == trump ? HigherTrumps(win) : trumps;
        }
        if (!(nat & first)) {
            m_excluded[place] |= first;
            if (second && !(nat & second)) m_excluded[place] |= second;
        }
    }

    m_gone |= nat;
    if (place == m_me) m_own &= ~nat;
    if (m_size[place] > 0) --m_size[place];
    m_trick.codes[m_trick.count++] = code;
    ++m_trick.cardsPlayed;
    if (m_trick.count < 4) return;

    int winner = m_trick.leader;
    uint16_t best = PackNatural(NatOf(m_trick.codes[0]));
    for (int i = 1; i < 4; ++i) {
        const uint16_t c = PackNatural(NatOf(m_trick.codes[i]));
        if (BeatsCard(c, best, trump)) {
            best = c;
            winner = (m_trick.leader + i) & 3;
        }
    }
    m_trick.leader = winner;
    m_trick.count = 0;
    for (int& c : m_trick.codes)
        c = -1;
}
