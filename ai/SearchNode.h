// The card-play search's working position. It holds what a SearchState holds
// for the position, and beside the natural hands the same hands in trump coding
// and the points of each card on the trick, all kept up to date card by card as
// the search plays a card and takes it back, so that no node converts a coding
// or copies a position.
#pragma once

#include <cstdint>

#include "ai/SearchBits.h"
#include "ai/SearchState.h"

struct SearchNode {
    uint32_t hands[4];      // natural coding, by place
    uint32_t coded[4];      // the same hands in trump coding
    uint16_t trick[4];      // card of each place on the current trick, packed suit rank; 0 none
    int32_t points[4];      // points of each place's card on the current trick
    int32_t winnerAfter[4]; // place winning the trick after its 1st..4th card; -1 not yet
    int32_t count;          // cards on the current trick
    int32_t trump;          // 0..3 suit, 4 no trumps
    int32_t toPlay;         // place whose turn it is; -1 when the deal is over
    int32_t early;          // 1 early in the deal: enables the extra lead pruning
    uint32_t chosenCard;    // carried unchanged into the records written from here
    int8_t cardPoints[32];  // points of each card under this trump, by natural bit index

    static SearchNode Of(const SearchState& s) {
        SearchNode n;
        for (int i = 0; i < 4; ++i) {
            n.hands[i] = s.hands[i];
            n.coded[i] = search_bits::NatToTrump(s.hands[i]);
            n.trick[i] = s.trick[i];
            n.points[i] = search_bits::PackedPoints(s.trick[i], s.trump);
            n.winnerAfter[i] = s.winnerAfter[i];
        }
        n.count = s.count;
        n.trump = s.trump;
        n.toPlay = s.toPlay;
        n.early = s.early;
        n.chosenCard = s.chosenCard;
        for (int bit = 0; bit < 32; ++bit)
            n.cardPoints[bit] = static_cast<int8_t>(
                search_bits::PackedPoints(search_bits::PackNatural(1u << bit), s.trump));
        return n;
    }

    // Plays the card `card` (one-card set, trump coding; `nat` the same card in
    // natural coding) for the place `me`, the place to play.
    void Play(int me, uint32_t card, uint32_t nat, uint16_t packed, int cardPoints,
              bool beatsWinner) {
        const int before = count;
        count = before + 1;
        trick[me] = packed;
        points[me] = cardPoints;
        hands[me] &= ~nat;
        coded[me] &= ~card;
        winnerAfter[before] = before > 0 && !beatsWinner ? winnerAfter[before - 1] : me;
    }
    // Takes back the card Play put down.
    void TakeBack(int me, uint32_t card, uint32_t nat) {
        count -= 1;
        winnerAfter[count] = -1;
        hands[me] |= nat;
        coded[me] |= card;
        trick[me] = 0;
        points[me] = 0;
        toPlay = me;
    }
};
