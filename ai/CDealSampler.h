// Deals the cards one seat cannot see among the three other hands, uniformly
// over every deal that agrees with what the seat knows: each place gets as many
// cards as it holds, keeps the cards it has shown, and gets none of the cards it
// has shown it cannot hold.
#pragma once

#include <cstdint>
#include <random>

class CSeatKnowledge;

class CDealSampler {
public:
    // Before the play: the own hand and nothing else known (bidding).
    CDealSampler(int me, uint32_t ownHand);
    explicit CDealSampler(const CSeatKnowledge& knowledge);

    // Fills the four hands (natural coding, by place) with one consistent deal;
    // the own hand is the seat's own. False when no deal agrees with the
    // knowledge (then the constraints that cannot be met are dropped and the
    // hands are still filled).
    bool Sample(std::mt19937_64& rng, uint32_t hands[4]);

    // How many deals agree with the knowledge (as a floating number).
    double Consistent() const;

private:
    void Prepare();
    double Count(int cls, int n0, int n1, int n2) const;

    int m_me;
    uint32_t m_own;
    uint32_t m_fixed[4] = {0, 0, 0, 0}; // known cards by place
    uint32_t m_allowed[3] = {0, 0, 0};  // by other place, in order me+1, me+2, me+3
    int m_need[3] = {0, 0, 0};
    uint32_t m_unknown = 0;   // cards of the three other hands not known
    uint32_t m_class[8] = {}; // unknown cards by mask of places allowed
    mutable double m_memo[8 * 9 * 9 * 9];
    bool m_bRelaxed = false;
};
