#include "app/CBidPanelCore.h"

#include <random>

#include "ai/CComputerPlayer.h"
#include "rules/CPlayerHand.h"
#include "rules/GameState.h"

namespace {

void FillHands(uint32_t hands[4]) {
    for (int p = 0; p < 4; ++p)
        hands[p] = g_pHand[p] ? g_pHand[p]->m_natSet : 0;
}

} // namespace

CBidPanelCore::CBidPanelCore(IBiddingHost& host, ICommandSender& sender, IStepPoster& poster,
                             bool threaded, std::function<void()> closed)
    : m_model(host, sender, poster),
      m_evaluator(&CBidEvaluator::RulesDeclarations, g_bComputerSearch, &g_bAutoPlay, &poster),
      m_bidder(m_model, m_evaluator, &FillHands), m_closed(std::move(closed)) {
    m_bidder.SetThreaded(threaded);
    // The fair player bids from sampled deals that agree with each own hand.
    if (CComputerPlayer::Fair()) m_evaluator.SetFairPlaces(0xF, std::random_device{}());
}

CBidPanelCore::~CBidPanelCore() {
    m_evaluator.Cancel();
}

void CBidPanelCore::Open() {
    m_model.Open();
    m_bidder.OnPanelOpened();
}

bool CBidPanelCore::Restore(std::span<const uint8_t> state) {
    m_model.Open();
    return m_model.RestoreState(state.data(), state.size());
}

void CBidPanelCore::ComputerCall() {
    m_bidder.ChooseBid();
}

void CBidPanelCore::Refresh() {
    m_model.Refresh();
}

void CBidPanelCore::OnBid(int user, int byte1, int byte2) {
    m_model.OnBidCommand(user, byte1, byte2);
}

void CBidPanelCore::OnFinish(int user, int byte1) {
    m_model.OnFinishCommand(user, byte1);
}

void CBidPanelCore::Close() {
    m_model.Close();
    if (m_closed) m_closed();
}
