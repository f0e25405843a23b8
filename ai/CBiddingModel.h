// The state and rules of the bidding panel: the calls of the four places, the
// turn, the automatic passes, the end of the bidding and the contract it leaves.
// The panel dialog displays what this model holds and forwards its buttons and
// the incoming commands to it; the model is plain C++ and can be driven alone.
//
// A call is a pair (value, suit byte):
//   bet        (8..82, 0..4)   suit 0..3 club, diamond, heart, spade; 4 no trumps
//   pass       (0, 7)
//   double     (1, 5)
//   redouble   (2, 6)
//   auto pass  (0, 8)          a pass made for a finished place
//   filler     (7, 8)          an empty row that keeps the columns aligned (never logged)
//
// Saved state (SaveState / RestoreState; the game record stores it as one BIT STRING):
//   bytes 0 .. 3k-1   the bid log: per call (seat 1..4 of the caller, value, suit byte)
//   byte  3k          seat of the place to call (0 when no place)
//   bytes 3k+1..3k+4  the Finish boxes of seats 1, 2, 3, 4 (0/1; 0 for a seat without a place)
// Its length is therefore log length + 5, at most kBidLogSize + 5 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ai/IBiddingHost.h"
#include "ai/ICommandSender.h"
#include "ai/IStepPoster.h"

// Suit bytes of the calls that are not bets; also the image index of their rows.
enum CallKind : int {
    CALL_DOUBLE = 5,
    CALL_REDOUBLE = 6,
    CALL_PASS = 7,
    CALL_AUTO_PASS = 8, // also the image of a filler row
};
constexpr int kNoTrumps = 4;
constexpr int kFillerValue = 7;
constexpr int kMinBid = 8;
constexpr int kMaxBid = 82;
constexpr int kBidLogSize = 500;
constexpr int kBiddingSaveMax = kBidLogSize + 5;

// One row of a place's column.
struct BidRow {
    std::string text; // "%d" of a bet, "pass", "dbl", "rdbl" (translated where shown), or empty for
                      // a filler
    int image = 0;    // image index: the suit byte of the call (8 for fillers)
    bool selected = false;
};

// What the dialog's controls show after Refresh.
struct BidControls {
    bool pass = false, bet = false, dbl = false, redouble = false;
    bool spin = false, valueEdit = false, suitList = false, close = false;
    bool finishChecked[4] = {false, false, false, false};
    bool finishEnabled[4] = {true, false, false, false};
    int spinLow = kMinBid, spinHigh = kMaxBid, spinValue = kMinBid;
    int selectedSuit = 0;
    // 0 Pass, 1 Bet, 2 Double, 3 ReDouble, 4 Close, -1 none enabled.
    int defaultButton = -1;
};

enum class BetResult { Sent, InvalidValue };

// A call command's two bytes as the log keeps the call (canonical value, suit
// byte); false for a malformed call, which changes nothing.
bool ReadIncomingCall(int byte1, int byte2, int* value, int* suit);

class CBiddingModel {
public:
    CBiddingModel(IBiddingHost& host, ICommandSender& sender, IStepPoster& poster,
                  int rowsPerPage = 5);

    // Creating the panel: contract words to -1, place to call = the place after the
    // dealer, everything else reset; then Refresh. When the own user is not seated
    // the suit list and the own Finish box are disabled.
    void Open();

    // --- Calls (own buttons and the computer) ---
    void Pass();
    void Double(bool fromButton);
    void Redouble(bool fromButton);
    // With autoValue and a place to call other than 0, first sets the value to the
    // contract value + 1 (8 with no contract). Sends nothing when the value is not 8..82.
    BetResult Bet(int suit, bool autoValue);
    // The own Finish box was clicked to `newState`; the box changes when the command returns.
    void ToggleOwnFinish(bool newState);
    // Close: the bidding panel is done.
    void Close();

    // --- Incoming commands ---
    void OnBidCommand(int user, int byte1, int byte2);
    void OnFinishCommand(int user, int byte1);

    // --- Panel state for the game record ---
    std::vector<uint8_t> SaveState() const;
    // Returns false (and changes nothing) for a block shorter than 5 bytes or longer
    // than kBiddingSaveMax.
    bool RestoreState(const uint8_t* data, size_t length);

    // --- Operations shared with the computer bidder ---
    void AddCall(int place, int value, int suit);
    void AutoPasses();
    void Refresh(bool autoPlayOff = false);
    void SetSpinValue(int value) { m_controls.spinValue = value; }
    void SelectSuit(int suit) { m_controls.selectedSuit = suit; }
    // The bidding goes on (no redouble, passes within the limit, not four passes
    // without an undoubled contract).
    bool GoesOn() const;

    // --- Read access ---
    int PlaceToCall() const { return m_nToCall; }
    int Doubler() const { return m_nDoubler; }
    int Redoubler() const { return m_nRedoubler; }
    int ContractBidder() const { return m_nContractBidder; }
    int ContractValue() const { return m_nContractValue; }
    int ContractSuit() const { return m_nContractSuit; }
    int Passes() const { return m_nPasses; }
    bool IsOver() const { return m_bOver; }
    const std::vector<BidRow>& Rows(int place) const { return m_rows[place & 3]; }
    int RowsPerPage() const { return m_nRowsPerPage; }
    const BidControls& Controls() const { return m_controls; }
    const uint8_t* Log() const { return m_log; }
    int LogLength() const { return m_nLogLength; }
    bool IsFinished(int place) const { return m_controls.finishChecked[place & 3]; }
    void SetFinished(int place, bool on) { m_controls.finishChecked[place & 3] = on; }

    // Per-place fields read by the computer's rules (place p, suit s in 0..4).
    int QuickTrump(int p) const { return m_quickTrump[p & 3]; }
    void SetQuickTrump(int p, int t) { m_quickTrump[p & 3] = t; }
    int PartnerLastValue(int p) const { return m_partnerLastValue[p & 3]; }
    int PartnerLastSuit(int p) const { return m_partnerLastSuit[p & 3]; }
    int PartnershipSuit(int p) const { return m_partnershipSuit[p & 3]; }
    void SetPartnershipSuit(int p, int s) { m_partnershipSuit[p & 3] = s; }
    int RaiseCount(int p) const { return m_raiseCount[p & 3]; }
    int SuitHolder(int p, int s) const { return ValidSuit(s) ? m_suitHolder[p & 3][s] : -1; }
    int RaiseFlag(int p, int s) const { return ValidSuit(s) ? m_raiseFlag[p & 3][s] : 0; }
    void SetRaiseFlag(int p, int s, int v) {
        if (ValidSuit(s)) m_raiseFlag[p & 3][s] = v;
    }

    IBiddingHost& Host() { return m_host; }

private:
    static bool ValidSuit(int s) { return s >= 0 && s <= kNoTrumps; }
    void Reset();
    void SendCall(int value, int suit, int16_t from);
    void InsertRow(int place, const std::string& text, int image);
    void MoveTurnOn();
    void EndBidding();

    IBiddingHost& m_host;
    ICommandSender& m_sender;
    IStepPoster& m_poster;
    int m_nRowsPerPage;

    int m_nToCall = -1;
    int m_nDoubler = -1, m_nRedoubler = -1;
    int m_nContractBidder = -1, m_nContractValue = -1, m_nContractSuit = -1;
    int m_nPasses = 0;
    bool m_bOver = false;
    uint8_t m_log[kBidLogSize] = {};
    int m_nLogLength = 0;

    int m_quickTrump[4];
    int m_partnerLastValue[4], m_partnerLastSuit[4];
    int m_partnershipSuit[4];
    int m_raiseCount[4];
    int m_suitHolder[4][5];
    int m_raiseFlag[4][5];

    std::vector<BidRow> m_rows[4];
    BidControls m_controls;
};
