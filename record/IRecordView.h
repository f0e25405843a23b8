// What a game record needs from the table view: the bidding panel's state, and
// the show control of the game flow. The program's view implements it; with no
// view attached a record carries no bidding state and restores none.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class IRecordView {
public:
    virtual ~IRecordView() = default;
    // The bidding panel's saved state; false when the view has no bidding panel.
    virtual bool SaveBidding(std::vector<uint8_t>& out) = 0;
    // Opens the bidding panel as for a new bidding and restores it from a saved
    // state (at least 5 bytes, 5 plus a multiple of 3).
    virtual void RestoreBidding(std::span<const uint8_t> state) = 0;
    // The picked cards of the hand at a place changed while a record was applied.
    virtual void UpdateShowControl(int place) = 0;
};

// The view while it exists; null otherwise.
extern IRecordView* g_pRecordView;
