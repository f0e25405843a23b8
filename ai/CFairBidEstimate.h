// The bid estimates of one place worked out fairly: from deals sampled to agree
// with the place's own hand, never from the real hands. Each sampled deal is
// valued once per deal as the bid evaluation values the real deal
// (declarations, then one play-out per trump); the estimates are the samples'
// average, each sample weighted by how well its hands explain the calls made so
// far, so that a new call only weighs the same samples again.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "ai/CBidEvaluator.h"

class CCardSearch;

class CFairBidEstimate {
public:
    // 24 samples of five play-outs each: one place's evaluation takes about
    // 40 ms of processor time on the benchmark machine (a deal may take 300 ms),
    // and enough samples keep a real weight after the calls have been weighed.
    static constexpr int kSamples = 24;

    // Samples and values the deals for place `me` holding `ownHand`; false when
    // `stopped` answered true on the way (then there are no samples).
    bool Sample(int me, uint32_t ownHand, int dealer, DeclarationFn declarations,
                std::mt19937_64& rng, CCardSearch& search, const std::function<bool()>& stopped,
                int samples = kSamples);
    bool HasSamples() const { return !m_samples.empty(); }
    // Fills own[t] and opponent[t] (t = 0..4) from the samples weighted by the calls.
    void Estimate(const std::vector<BidCall>& calls, int own[5], int opponent[5]) const;

    // How well a sampled deal explains the calls of the other places, given every
    // place's estimates in it (in tens, by place and trump): 1 when every call
    // fits, halved for each ten a bet lacks or a doubled contract would make,
    // and less for a pass of a place that could have bid higher.
    static double CallWeight(const int estimates[4][5], int me, const std::vector<BidCall>& calls);

    // How many standard deviations (over the samples) the own estimate is taken
    // below its mean and the opponents' above theirs; 1 unless set.
    static void SetCaution(double standardDeviations);
    // The opponents' margin alone (after SetCaution, which sets both).
    static void SetOpponentCaution(double standardDeviations);
    // Weighting by the calls can be switched off (to measure what it buys).
    static void SetWeighting(bool on);

private:
    struct Valued {
        int own[4][5];   // every place's estimate in this deal, by trump
        int opponent[5]; // the opponents' estimate for the sampling place
    };
    int m_me = 0;
    std::vector<Valued> m_samples;
};
