// The playing heuristics that narrow a place's cards before the search tries
// them. Every set here is in trump coding (each suit byte in trump order);
// the state's hands are in natural coding. The place to move is state.toPlay.
#pragma once

#include <cstdint>

#include "ai/SearchState.h"

// The cards of `hand` that may be played to the current trick (the rule of
// legal play on card sets). With an empty trick every card.
uint32_t LegalCards(const SearchState& s, uint32_t hand);
// The same for the place `place` (used to look at other places' replies).
uint32_t LegalCardsFor(const SearchState& s, uint32_t hand, int place);
// True when no card of x would take the trick from its current winning card.
bool CannotBeat(const SearchState& s, uint32_t x);
// Per suit the lowest card; a lone plain-suit ace only when nothing else is left.
uint32_t PlayLow(const SearchState& s, uint32_t x);
// The cards worth giving to a trick that the partner is winning.
uint32_t FeedPartner(const SearchState& s, uint32_t candidates);
// The candidates worth searching; `leadSuit` is -1 when leading, n the hand's size.
uint32_t Prune(const SearchState& s, uint32_t legal, int leadSuit, int n);
// Reduces equivalent cards (touching, or separated only by cards already gone)
// to representatives.
uint32_t ReduceRuns(const SearchState& s, uint32_t candidates);
// Keeps only the lowest and the highest card of each suit, by strength.
uint32_t LowAndHighPerSuit(uint32_t set, int trump);
// True when the card `packed` (natural rank, suit) beats `winner` under `trump`.
bool BeatsCard(uint16_t packed, uint16_t winner, int trump);
