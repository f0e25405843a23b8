// What one seat can know during the play of a deal: its own hand, every card
// played and by whom, the cards each place has shown it cannot hold (by not
// following suit, not trumping or not over-trumping when the rules would have
// made it), the cards shown face up with a declaration, and how many cards each
// place still holds. The fair computer player samples the hidden hands from this
// and from nothing else. Sets are in natural coding, by place.
#pragma once

#include <cstdint>

#include "ai/SearchState.h"

class CSeatKnowledge {
public:
    // A new deal: `me` holds `ownHand` (its cards now, none played yet), `trump`
    // is the contract's trump (4 no trumps) and `leader` leads the first trick.
    CSeatKnowledge(int me, uint32_t ownHand, int trump, int leader);

    // Place `place` plays the card `code` to the current trick. Updates the cards
    // gone, the hand sizes, what the place has shown it does not hold and, after
    // the fourth card, the leader of the next trick.
    void Observe(int place, int code);
    // Cards `place` showed face up with its declaration (still in its hand or not).
    void AddShown(int place, uint32_t naturalCards);

    int Me() const { return m_me; }
    int Trump() const { return m_trick.trump; }
    uint32_t OwnHand() const { return m_own; }
    // Every card played in this deal, the current trick included.
    uint32_t Gone() const { return m_gone; }
    // Cards `place` cannot hold now.
    uint32_t Excluded(int place) const { return m_excluded[place & 3]; }
    // Cards known to be in the hand of `place` now (shown and not yet played).
    uint32_t Known(int place) const { return m_known[place & 3] & ~m_gone; }
    int HandSize(int place) const { return m_size[place & 3]; }
    // The current trick as the search takes it.
    const TrickStart& Trick() const { return m_trick; }
    // The place to play next.
    int ToPlay() const { return (m_trick.leader + m_trick.count) & 3; }

private:
    int m_me;
    uint32_t m_own;
    uint32_t m_gone = 0;
    uint32_t m_excluded[4] = {0, 0, 0, 0};
    uint32_t m_known[4] = {0, 0, 0, 0};
    int m_size[4] = {8, 8, 8, 8};
    TrickStart m_trick;
};
