// The position record of the card-play search, copied by value (17 words).
#pragma once

#include <cstdint>

struct SearchState {
    uint32_t chosenCard;    // result record: one-card set, trump coding, of the card chosen
    int32_t trickPoints;    // perspective partnership's points in the trick just completed
    int32_t lastWinner;     // place that won the trick just completed
    int32_t early;          // 1 early in the deal: enables the extra lead pruning
    uint32_t hands[4];      // natural coding, by place
    uint16_t trick[4];      // card of each place on the current trick, packed suit rank; 0 none
    int32_t trump;          // 0..3 suit, 4 no trumps
    int32_t toPlay;         // place whose turn it is; -1 when the deal is over
    int32_t winnerAfter[4]; // place winning the trick after its 1st..4th card; -1 not yet
    int32_t count;          // cards on the current trick
};
static_assert(sizeof(SearchState) == 17 * 4, "SearchState is a record of 17 words");

// The cards already on the current trick, as the table pile holds them.
struct TrickStart {
    int trump = 4;
    int leader = -1; // place that led the current trick (the place to play when empty)
    int count = 0;   // cards on the trick
    int codes[4] = {-1, -1, -1, -1}; // card codes in play order
    int cardsPlayed = 0;             // cards of the deal played so far, this trick included
};
