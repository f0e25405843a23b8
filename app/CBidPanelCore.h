// The bidding panel without its window: the bidding model, the computer's
// bid evaluation and its calls. The panel's window shows the model and forwards
// its buttons to it; the game flow feeds it the bid commands and the steps.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "ai/CBidEvaluator.h"
#include "ai/CBiddingModel.h"
#include "ai/CComputerBidder.h"

class CBidPanelCore {
public:
    // `threaded`: run the bid evaluation on its worker thread (the program), or
    // before returning (tests). `closed` is called when the panel's Close is pressed.
    CBidPanelCore(IBiddingHost& host, ICommandSender& sender, IStepPoster& poster, bool threaded,
                  std::function<void()> closed = {});
    ~CBidPanelCore();
    CBidPanelCore(const CBidPanelCore&) = delete;
    CBidPanelCore& operator=(const CBidPanelCore&) = delete;

    // A new bidding: resets the model and starts the evaluation when a computer of
    // this program will call.
    void Open();
    // Opens as for a new bidding, then restores a saved state (with AutoPlay treated as off).
    bool Restore(std::span<const uint8_t> state);
    std::vector<uint8_t> Save() const { return m_model.SaveState(); }

    // STEP_AUTO_BID: the computer's call for the place to call.
    void ComputerCall();
    // STEP_BID_TURN: the evaluation finished; refresh.
    void Refresh();
    // Incoming commands.
    void OnBid(int user, int byte1, int byte2);
    void OnFinish(int user, int byte1);
    // The Close button.
    void Close();

    CBiddingModel& Model() { return m_model; }
    const CBiddingModel& Model() const { return m_model; }
    CBidEvaluator& Evaluator() { return m_evaluator; }

private:
    CBiddingModel m_model;
    CBidEvaluator m_evaluator;
    CComputerBidder m_bidder;
    std::function<void()> m_closed;
};
