// Plays whole deals with computer bidding and play, without network or window:
// the bidding panel's model driven through a loopback of its own commands, and
// the card play searched for each place in turn. Used by the benchmarks and tests.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

struct PlayedDeal {
    int trump = -1; // contract trump, -1 when all passed
    int value = -1; // contract value
    int declarer = -1;
    int doubleLevel = 0;
    int calls = 0;              // calls made in the bidding
    int cardPoints[2] = {0, 0}; // by partnership, 250 for taking every trick
    int tricks[2] = {0, 0};
    bool made = false;      // the declaring partnership reached the value
    std::vector<int> cards; // codes in order of play
};

// Called after each card choice with its place, the nodes it searched and the
// processor time it took (microseconds of this thread).
using ChoiceObserver = std::function<void(int place, uint64_t nodes, double microseconds)>;

// Who plays each place: 0 the classic player (it sees every hand), n > 0 the
// fair player with up to n sampled deals per decision.
struct SeatPlayers {
    int samples[4] = {0, 0, 0, 0};
    uint64_t seed = 1; // of the fair players' sampling
    int FairMask() const {
        int mask = 0;
        for (int p = 0; p < 4; ++p)
            if (samples[p] > 0) mask |= 1 << p;
        return mask;
    }
};

class CDealSimulator {
public:
    // Processor time used by the calling thread, in microseconds.
    static double ThreadCpuMicros();

    // Deals the 32 cards into four natural-coded hands of eight.
    static void DealHands(std::mt19937_64& rng, uint32_t hands[4]);

    // Plays the deal out from its start with the given trump and first player;
    // each place's card is chosen by the search from that place's perspective.
    static PlayedDeal PlayOut(const uint32_t hands[4], int trump, int leader,
                              const ChoiceObserver& observer = nullptr,
                              const SeatPlayers& players = SeatPlayers());

    // Bids the deal with four computer players (dealer's left calls first) and,
    // with a contract, plays it out.
    static PlayedDeal BidAndPlay(const uint32_t hands[4], int dealer,
                                 const ChoiceObserver& observer = nullptr,
                                 const SeatPlayers& players = SeatPlayers(),
                                 std::vector<double>* fairBidMicros = nullptr);
};
