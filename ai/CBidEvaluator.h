// The bid evaluation of one deal: the declaration estimates, the quick estimate
// from the hands alone, and the worker that plays the deal out once for each
// trump (the four suits and no trumps) and turns the points into estimated
// scores for every place. One evaluator belongs to one deal's bidding panel;
// its worker thread never outlives it (the destructor cancels and joins).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "ai/SearchState.h"

class IStepPoster;
class CFairBidEstimate;

// One call of the bidding as the fair estimates read it.
struct BidCall {
    int place;
    int value; // as in the bid log: 8..82 for a bet
    int suit;  // 0..4 a bet, 5 double, 6 redouble, 7 pass, 8 automatic pass
};

// What the declarations of a set of cards are worth for a trump value.
struct DeclarationEstimate {
    int points = 0;   // declaration points
    int bestRank = 0; // rank code of the best combination; 0 = none
};
using DeclarationFn = DeclarationEstimate (*)(uint32_t naturalCards, int trump);

class CBidEvaluator {
public:
    // `searchFlag` is the program's g_bComputerSearch (the worker sets it and a
    // clear stops it); `autoPlayFlag` (may be null) keeps the search going like it.
    // `poster` (may be null) receives STEP_BID_TURN after a normal end.
    CBidEvaluator(DeclarationFn declarations, std::atomic<int>& searchFlag,
                  const std::atomic<int>* autoPlayFlag, IStepPoster* poster);
    ~CBidEvaluator();
    CBidEvaluator(const CBidEvaluator&) = delete;
    CBidEvaluator& operator=(const CBidEvaluator&) = delete;

    // Fills the tables for a new deal from the four hands (natural coding) and
    // the dealer's place, then runs the play-outs: on a worker thread when
    // `threaded`, else before returning.
    void StartEvaluation(const uint32_t hands[4], int dealer, bool threaded = true);
    // The worker's body: five play-outs and the estimate tables.
    void RunWorker();
    // Stops a running worker at its next trick boundary (without posting) and waits for it.
    void Cancel();
    // Asks a running worker to stop at its next trick boundary, without waiting.
    void RequestCancel() { m_bCancel.store(true, std::memory_order_relaxed); }
    void Join();

    bool Running() const { return m_bRunning.load(std::memory_order_acquire); }
    bool Complete() const { return m_bComplete.load(std::memory_order_acquire); }
    // Creating a bidding panel clears both flags.
    void ClearFlags();

    // The declarations of the rules (four of a kind, sequences) for a set of cards.
    static DeclarationEstimate RulesDeclarations(uint32_t naturalCards, int trump);

    // The quick estimate of a hand (natural coding) for trump t (4 = no trumps).
    static int QuickScore(uint32_t hand, int t);
    // The quick estimate's choice for a hand: the best trump, or -1.
    static int QuickTrumpOf(uint32_t hand);

    int OwnEstimate[4][5] = {};
    int OpponentEstimate[4][5] = {};
    int BestTrump[4] = {-1, -1, -1, -1};
    SearchState DealSearch[5] = {};

    // Fair estimates: the rows of the places in `mask` are worked out from deals
    // sampled to agree with each place's own hand and the calls, never from the
    // other hands (CFairBidEstimate). The other rows stay those of the real deal.
    void SetFairPlaces(int mask, uint64_t seed);
    int FairPlaces() const { return m_nFairMask; }
    // Deals sampled for a fair place's estimates (CFairBidEstimate::kSamples unless set).
    void SetFairSamples(int place, int samples) { m_fairSamples[place & 3] = samples; }
    // The calls so far, and the fair places whose rows the next evaluation works
    // out again (the rows of the other fair places are kept as they are).
    void SetFairCalls(std::vector<BidCall> calls, int recomputeMask);
    // Processor time of the fair rows of the last evaluation, in microseconds.
    // A fair place's rows from its samples weighed again by the calls (no new
    // sampling); false when the place has no samples yet.
    bool ReweighFair(int place, const std::vector<BidCall>& calls);
    bool HasFairSamples(int place) const;
    // Taking it clears it.
    double TakeFairMicros() {
        const double us = m_fairMicros;
        m_fairMicros = 0;
        return us;
    }

    uint64_t Nodes() const { return m_nNodes.load(std::memory_order_relaxed); }
    // Called by the worker before its play-outs (tests hold the worker there).
    void SetWorkerStartHook(std::function<void()> hook) { m_startHook = std::move(hook); }

private:
    DeclarationFn m_declarations;
    std::atomic<int>& m_searchFlag;
    const std::atomic<int>* m_pAutoPlay;
    IStepPoster* m_pPoster;
    std::atomic<bool> m_bRunning{false};
    std::atomic<bool> m_bComplete{false};
    std::atomic<bool> m_bCancel{false};
    std::atomic<uint64_t> m_nNodes{0};
    std::function<void()> m_startHook;
    int m_nFairMask = 0;
    int m_nFairNow = 0;
    int m_fairSamples[4] = {0, 0, 0, 0};
    std::vector<BidCall> m_calls;
    std::mt19937_64 m_fairRng;
    std::unique_ptr<CFairBidEstimate> m_fair[4];
    uint32_t m_hands[4] = {0, 0, 0, 0};
    int m_nDealer = 0;
    double m_fairMicros = 0;
    std::thread m_thread;
};
