// A table of four players for writing and applying game records without a window.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ai/CBiddingModel.h"
#include "ai/IBiddingHost.h"
#include "ai/ICommandSender.h"
#include "ai/IStepPoster.h"
#include "net/Conn.h"
#include "record/IRecordFrame.h"
#include "record/IRecordView.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

// The bidding model's host over the game state.
class CRecordBidHost : public IBiddingHost, public ICommandSender, public IStepPoster {
public:
    int SeatOfPlace(int place) const override { return ::SeatOfPlace(place); }
    int PlaceOfSeat(int seat) const override { return ::PlaceOfSeat(seat); }
    int UserAtPlace(int place) const override { return ::UserAtPlace(place); }
    int PlaceOfUser(int user) const override { return ::PlaceOfUser(user); }
    std::string NameAtPlace(int place) const override;
    bool IsPlaceAutoPlayed(int, bool) const override { return false; }
    bool HandlesComputerPartner() const override { return false; }
    bool IsAutoPlay() const override { return false; }
    bool IsSeated() const override { return g_bSeated != 0; }
    bool IsPlaceHandledHere(int) const override { return false; }
    bool MainViewExists() const override { return true; }
    int Dealer() const override { return g_nDealer; }
    int BidRule() const override { return g_nBidRule; }
    void SetBidder(int place) override { g_nBidder = place; }
    void ClearTurnMarker(int) override {}
    void RefreshTable() override {}
    void ClearContract() override { ResetContract(); }
    void CommitContract(const BiddingOutcome& o) override {
        g_contract = {o.value, o.trump, o.doubledBy, o.redoubledBy, o.declarer, o.turn};
    }
    void StopComputerSearch() override {}
    void Wait(int) override {}
    void SendCommand(int16_t, const std::string&, int16_t) override {}
    void PostStep(int, intptr_t) override {}
};

class CRecordTable : public IRecordView, public IRecordFrame {
public:
    // Users 0..3 on seats 1..4; the own user sits on ownSeat (0: none at the table).
    explicit CRecordTable(int ownSeat);
    ~CRecordTable() override;

    // The own user moves to another seat: the seating and the hands' users are rebuilt.
    void MoveOwnUser(int ownSeat);
    // Deals eight cards to every hand, the same cards for the same seed.
    void Deal(uint32_t seed);
    // Opens the bidding panel's model as the program does at the start of the bidding.
    void OpenBidding();
    // Lets the model apply a call of the place, as the bid command does.
    void Call(int place, int value, int suit);
    // Ends the bidding with a contract and gives the turn to the place after the dealer.
    void SetContract(int value, int trump, int declarerPlace, int doubledBy = -1,
                     int redoubledBy = -1);
    // Plays n cards, each the first legal card of the place whose turn it is.
    void PlayLegalCards(int n);
    // Resets everything a record carries, so that whatever comes back came from it.
    void ResetForApply();

    CBiddingModel* Bidding() { return m_bidding.get(); }

    bool SaveBidding(std::vector<uint8_t>& out) override;
    void RestoreBidding(std::span<const uint8_t> state) override;
    void UpdateShowControl(int) override {}
    void AddChatLine(std::string_view line) override { m_chat.emplace_back(line); }
    void KeepPendingGame(std::span<const uint8_t>) override {}

    std::vector<std::string> m_chat;

private:
    CConn m_conn;
    CRecordBidHost m_host;
    std::unique_ptr<CBiddingModel> m_bidding;
};
