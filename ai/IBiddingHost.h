// What the bidding model needs from the table: seating lookups, the pass limit,
// and the game state it writes when the bidding ends. The program implements it
// over the game state; tests implement it with plain fields.
#pragma once

#include <string>

// The outcome of a finished bidding, in places (-1 = none).
struct BiddingOutcome {
    int value = -1; // contract value in tens, -1 when all passed
    int trump = -1; // 0..3 suit, 4 no trumps
    int doubledBy = -1;
    int redoubledBy = -1;
    int declarer = -1;
    int turn = -1;       // place that plays first
    int doubleLevel = 0; // 0 none, 1 doubled, 2 redoubled
};

class IBiddingHost {
public:
    virtual ~IBiddingHost() = default;

    // Seating (places are this program's view places 0..3, seats 1..4).
    virtual int SeatOfPlace(int place) const = 0;
    virtual int PlaceOfSeat(int seat) const = 0;
    virtual int UserAtPlace(int place) const = 0;
    virtual int PlaceOfUser(int user) const = 0;
    virtual std::string NameAtPlace(int place) const = 0;
    // A place whose calls this program makes by computer. With `autoPlayOff`
    // the own place counts as played by hand whatever the AutoPlay switch says.
    virtual bool IsPlaceAutoPlayed(int place, bool autoPlayOff) const = 0;
    // A computer partner handled by this program sits at the table.
    virtual bool HandlesComputerPartner() const = 0;
    virtual bool IsAutoPlay() const = 0;
    virtual bool IsSeated() const = 0;
    virtual bool IsPlaceHandledHere(int place) const = 0;
    virtual bool MainViewExists() const = 0;
    virtual int Dealer() const = 0;
    virtual int BidRule() const = 0; // pass limit

    // Game state writes and table feedback.
    virtual void SetBidder(int place) = 0;       // g_nBidder
    virtual void ClearTurnMarker(int place) = 0; // status line and name label of a place
    virtual void RefreshTable() = 0;
    virtual void ClearContract() = 0; // all six words of the contract to -1
    // The bidding is over: write the contract (and, with a declarer, the deal
    // history entry and the declarations for the new trump).
    virtual void CommitContract(const BiddingOutcome& outcome) = 0;
    // Stops any computer search (clears g_bComputerSearch).
    virtual void StopComputerSearch() = 0;
    // Busy wait with message pumping (the computer's short pause before a call).
    virtual void Wait(int ms) = 0;
};
