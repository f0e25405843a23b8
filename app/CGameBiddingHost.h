// The bidding panel's view of the table: the seating, the pass limit and the
// game state that the end of the bidding writes, over the program's game state.
#pragma once

#include "ai/IBiddingHost.h"

class CGameFlow;

class CGameBiddingHost : public IBiddingHost {
public:
    explicit CGameBiddingHost(CGameFlow& flow) : m_flow(flow) {}

    int SeatOfPlace(int place) const override;
    int PlaceOfSeat(int seat) const override;
    int UserAtPlace(int place) const override;
    int PlaceOfUser(int user) const override;
    std::string NameAtPlace(int place) const override;
    bool IsPlaceAutoPlayed(int place, bool autoPlayOff) const override;
    bool HandlesComputerPartner() const override;
    bool IsAutoPlay() const override;
    bool IsSeated() const override;
    bool IsPlaceHandledHere(int place) const override;
    bool MainViewExists() const override;
    int Dealer() const override;
    int BidRule() const override;

    void SetBidder(int place) override;
    void ClearTurnMarker(int place) override;
    void RefreshTable() override;
    void ClearContract() override;
    void CommitContract(const BiddingOutcome& outcome) override;
    void StopComputerSearch() override;
    void Wait(int ms) override;

private:
    CGameFlow& m_flow;
};
