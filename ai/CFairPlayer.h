// The fair computer player's card choice: it sees only what its seat can know
// (CSeatKnowledge), deals the hidden cards many times in ways that agree with
// that knowledge, solves every sampled deal with the card-play search, and plays
// the card with the best average value over the samples.
//
// Budget: up to kSamples sampled deals, and no new sample once kNodeBudget
// search nodes are spent (about 40 ms of processor time on the benchmark
// machine). A node budget rather than a clock keeps the choice the same for the
// same seed on a loaded machine. In matches against the seeing player the
// card play did as well with 8 samples as with 24 or 64 (within the matches'
// error); 24 keeps a margin and still leaves the median choice near 0.1 ms and
// the slowest near 0.1 s, far inside 50 ms and 1 s. A deeper search per
// sample (13 or 45 cards instead of 9 early in the deal) did not play better.
#pragma once

#include <cstdint>
#include <random>

#include "ai/CCardSearch.h"

class CSeatKnowledge;

class CFairPlayer {
public:
    static constexpr int kSamples = 24;
    static constexpr uint64_t kNodeBudget = 600000;

    explicit CFairPlayer(uint64_t seed) : m_rng(seed) {}

    // The card (one-card set, trump coding) the seat should play now; the seat
    // must be the place to play. 0 when it holds no card.
    uint32_t ChooseCard(const CSeatKnowledge& knowledge);

    void SetSamples(int samples) { m_nSamples = samples < 1 ? 1 : samples; }
    void Reseed(uint64_t seed) { m_rng.seed(seed); }
    CCardSearch& Search() { return m_search; }
    // Samples solved by the last choice.
    int LastSamples() const { return m_nLastSamples; }

private:
    std::mt19937_64 m_rng;
    CCardSearch m_search;
    int m_nSamples = kSamples;
    int m_nLastSamples = 0;
};
