// The computer's calls: chooses a call for the place to call from the bid
// evaluation and the state of the bidding, and makes it through the panel's
// model like a human would.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "ai/CBidEvaluator.h"

class CBiddingModel;

class CComputerBidder {
public:
    // `hands` fills the four hands of the deal (natural coding, by place).
    CComputerBidder(CBiddingModel& model, CBidEvaluator& evaluator,
                    std::function<void(uint32_t hands[4])> hands);

    // Makes one call for the place to call, or none while the full estimate is
    // still being worked out.
    void ChooseBid();
    // Fills the estimate tables for the deal, starts the worker and computes the
    // quick estimate.
    void StartEvaluation();
    // After the panel opened: starts the evaluation early when a computer of this
    // program will call later but the first call is somebody else's.
    void OnPanelOpened();

    // The rules, each making a call and answering true, or answering false.
    bool TryDouble();
    bool TryBet();
    bool TryRedouble();
    bool BetAt(int suit, int value);

    // Run the evaluation without a thread (benchmarks and tests).
    void SetThreaded(bool threaded) { m_bThreaded = threaded; }

private:
    void Choose();
    int Me() const;
    int CurrentValue() const;
    bool BetAuto(int suit);
    void PassCall();
    uint32_t MyHand() const;
    // The calls of the bidding so far, by place.
    std::vector<BidCall> Calls() const;
    // A fair place weighs its sampled deals again when calls came since its last
    // estimate, or samples them when it has none; true while that runs.
    bool RefreshFairEstimate(int me);

    CBiddingModel& m_model;
    CBidEvaluator& m_eval;
    std::function<void(uint32_t hands[4])> m_hands;
    bool m_bThreaded = true;
    bool m_bChoosing = false;
    int m_callsSeen[4] = {0, 0, 0, 0}; // log length of each fair place's last evaluation
};
