#include "ai/CBiddingModel.h"

#include <algorithm>
#include <cstdio>

#include "ai/GameCommands.h"
#include "platform/TextMark.h"

namespace {

int Next(int p) {
    return (p + 1) & 3;
}
int Partner(int p) {
    return (p + 2) & 3;
}
bool SameSide(int a, int b) {
    return (a & 1) == (b & 1);
}

bool IsPassSuit(int suit) {
    return suit == CALL_PASS || suit == CALL_AUTO_PASS;
}

// A call as it may arrive from the network or a stored block: a bet with a
// value in range, or one of the other calls. Anything else is malformed.
bool IsWellFormedCall(int value, int suit, bool allowAutoPass) {
    if (suit >= 0 && suit <= kNoTrumps) return value >= kMinBid && value <= kMaxBid;
    if (suit == CALL_DOUBLE || suit == CALL_REDOUBLE || suit == CALL_PASS) return true;
    return allowAutoPass && suit == CALL_AUTO_PASS && value != kFillerValue;
}

// The calls' canonical values, whatever value byte came with them.
int CanonicalValue(int value, int suit) {
    switch (suit) {
    case CALL_PASS:
    case CALL_AUTO_PASS:
        return 0;
    case CALL_DOUBLE:
        return 1;
    case CALL_REDOUBLE:
        return 2;
    default:
        return value;
    }
}

} // namespace

bool ReadIncomingCall(int byte1, int byte2, int* value, int* suit) {
    const int v = byte1 - 1, s = byte2 - 1;
    if (!IsWellFormedCall(v, s, false)) return false;
    *value = CanonicalValue(v, s);
    *suit = s;
    return true;
}

CBiddingModel::CBiddingModel(IBiddingHost& host, ICommandSender& sender, IStepPoster& poster,
                             int rowsPerPage)
    : m_host(host), m_sender(sender), m_poster(poster),
      m_nRowsPerPage(rowsPerPage > 0 ? rowsPerPage : 1) {
    Reset();
}

void CBiddingModel::Reset() {
    m_nToCall = -1;
    m_nDoubler = m_nRedoubler = -1;
    m_nContractBidder = m_nContractValue = m_nContractSuit = -1;
    m_nPasses = 0;
    m_bOver = false;
    std::fill(std::begin(m_log), std::end(m_log), uint8_t{0});
    m_nLogLength = 0;
    for (int p = 0; p < 4; ++p) {
        m_quickTrump[p] = -1;
        m_partnerLastValue[p] = m_partnerLastSuit[p] = -1;
        m_partnershipSuit[p] = -1;
        m_raiseCount[p] = 0;
        for (int s = 0; s < 5; ++s) {
            m_suitHolder[p][s] = -1;
            m_raiseFlag[p][s] = 0;
        }
        m_rows[p].clear();
    }
    m_controls = BidControls{};
}

void CBiddingModel::Open() {
    Reset();
    m_host.ClearContract();
    m_nToCall = Next(m_host.Dealer());
    m_host.SetBidder(m_nToCall);
    m_controls.finishEnabled[0] = m_host.IsSeated();
    Refresh();
}

// --- Calls --------------------------------------------------------------------

void CBiddingModel::SendCall(int value, int suit, int16_t from) {
    std::string text;
    text.push_back(static_cast<char>(value + 1));
    text.push_back(static_cast<char>(suit + 1));
    m_sender.SendCommand(CMD_BID, text, from);
}

void CBiddingModel::Pass() {
    SendCall(0, CALL_PASS, static_cast<int16_t>(m_host.UserAtPlace(m_nToCall)));
}

void CBiddingModel::Double(bool fromButton) {
    int16_t from = fromButton ? int16_t{-1} : static_cast<int16_t>(m_host.UserAtPlace(m_nToCall));
    SendCall(1, CALL_DOUBLE, from);
}

void CBiddingModel::Redouble(bool fromButton) {
    int16_t from = fromButton ? int16_t{-1} : static_cast<int16_t>(m_host.UserAtPlace(m_nToCall));
    SendCall(2, CALL_REDOUBLE, from);
}

BetResult CBiddingModel::Bet(int suit, bool autoValue) {
    if (autoValue && m_nToCall != 0)
        m_controls.spinValue = m_nContractBidder >= 0 ? m_nContractValue + 1 : kMinBid;
    int v = m_controls.spinValue;
    if (m_nToCall == 0) m_controls.selectedSuit = suit;
    // A value the panel cannot carry is never sent, whoever calls.
    if (v < kMinBid || v > kMaxBid || suit < 0 || suit > kNoTrumps) return BetResult::InvalidValue;
    SendCall(v, suit, static_cast<int16_t>(m_host.UserAtPlace(m_nToCall)));
    return BetResult::Sent;
}

void CBiddingModel::ToggleOwnFinish(bool newState) {
    std::string text(1, static_cast<char>((newState ? 1 : 0) + 1));
    m_sender.SendCommand(CMD_BID_FINISH, text, -1);
}

void CBiddingModel::Close() {
    m_host.SetBidder(-1);
}

// --- Incoming commands ----------------------------------------------------------

void CBiddingModel::MoveTurnOn() {
    if (m_nToCall < 0) return;
    m_nToCall = Next(m_nToCall);
    m_host.SetBidder(m_nToCall);
}

void CBiddingModel::OnBidCommand(int user, int byte1, int byte2) {
    int place = m_host.PlaceOfUser(user);
    int value = 0, suit = 0;
    // A call from nobody at the table, a malformed call or one after the end changes nothing.
    if (place < 0 || place > 3 || m_bOver || !ReadIncomingCall(byte1, byte2, &value, &suit)) return;
    if (m_host.MainViewExists() && place == m_nToCall) m_host.ClearTurnMarker(place);
    AddCall(place, value, suit);
    if (suit == CALL_DOUBLE) {
        if (place == m_nToCall) MoveTurnOn();
    } else if (suit != CALL_REDOUBLE) {
        MoveTurnOn();
    }
    AutoPasses();
    Refresh();
}

void CBiddingModel::OnFinishCommand(int user, int byte1) {
    int place = m_host.PlaceOfUser(user);
    if (place < 0 || place > 3 || m_bOver) return;
    if (m_host.MainViewExists() && place == m_nToCall) m_host.ClearTurnMarker(place);
    m_controls.finishChecked[place] = (byte1 - 1) != 0;
    AutoPasses();
    Refresh();
}

// --- AddCall ---------------------------------------------------------------------

void CBiddingModel::InsertRow(int place, const std::string& text, int image) {
    for (int q = 0; q < 4; ++q)
        if (q != place && !m_rows[q].empty()) m_rows[q].back().selected = false;
    m_rows[place].push_back(BidRow{text, image, true});
}

void CBiddingModel::AddCall(int place, int value, int suit) {
    place &= 3;
    bool filler = value == kFillerValue && suit == CALL_AUTO_PASS;
    if (!filler) {
        if (!IsPassSuit(suit)) m_nPasses = 0;
        if (m_nLogLength + 3 <= kBidLogSize) {
            m_log[m_nLogLength++] = static_cast<uint8_t>(m_host.SeatOfPlace(place));
            m_log[m_nLogLength++] = static_cast<uint8_t>(value);
            m_log[m_nLogLength++] = static_cast<uint8_t>(suit);
        }
        // Keep the columns aligned by round.
        int n = static_cast<int>(m_rows[place].size());
        int gap = 0;
        for (int q = 0; q < 4; ++q) {
            if (q == place) continue;
            int m = static_cast<int>(m_rows[q].size());
            if (q < place && m > n + 1)
                gap = std::max(gap, m - n - 1);
            else if (q > place && m > n)
                gap = std::max(gap, m - n);
        }
        for (int i = 0; i < gap; ++i)
            AddCall(place, kFillerValue, CALL_AUTO_PASS);
    }

    if (static_cast<int>(m_rows[place].size()) >= m_nRowsPerPage)
        for (auto& rows : m_rows)
            if (!rows.empty()) rows.erase(rows.begin());

    std::string text;
    if (filler) {
        // empty row
    } else if (suit >= 0 && suit <= kNoTrumps) {
        text = std::to_string(value);
    } else if (IsPassSuit(suit)) {
        text = VESK_TRANSLATE_NOOP("Vesk", "pass");
        ++m_nPasses;
    } else if (suit == CALL_DOUBLE) {
        text = VESK_TRANSLATE_NOOP("Vesk", "dbl");
        m_nDoubler = place;
        for (int p : {place, Partner(place)}) {
            m_controls.finishChecked[p] = true;
            m_controls.finishEnabled[p] = false;
        }
    } else if (suit == CALL_REDOUBLE) {
        text = VESK_TRANSLATE_NOOP("Vesk", "rdbl");
        m_nRedoubler = place;
    }

    if (!filler && suit >= 0 && suit <= kNoTrumps) {
        int before = m_nContractBidder >= 0 ? m_nContractValue : kFillerValue;
        for (int p = 0; p < 4; ++p) {
            int holder = m_suitHolder[p][suit];
            if (holder < 0 || !SameSide(holder, p)) m_suitHolder[p][suit] = place;
            if (place == Partner(p)) {
                m_partnerLastValue[p] = value;
                m_partnerLastSuit[p] = suit;
                if (m_suitHolder[p][suit] == place) {
                    m_raiseCount[p] += value - before;
                    if (m_raiseCount[p] == 2) m_raiseFlag[p][suit] += 1;
                    if (suit == kNoTrumps) {
                        m_raiseCount[p] += 1;
                        m_raiseFlag[p][kNoTrumps] += 1;
                    }
                }
            }
            if (SameSide(p, place)) m_partnershipSuit[p] = suit;
        }
        m_controls.spinLow = value + 1;
        m_controls.spinHigh = kMaxBid;
        m_controls.spinValue = value + 1;
        m_nContractBidder = place;
        m_nContractValue = value;
        m_nContractSuit = suit;
    }

    InsertRow(place, text, filler ? CALL_AUTO_PASS : suit);
}

// --- Turn, end and refresh --------------------------------------------------------

void CBiddingModel::AutoPasses() {
    for (int i = 0; i < 8 && !m_bOver && m_nToCall >= 0; ++i) {
        if (m_nRedoubler >= 0) break;
        if (m_nPasses > m_host.BidRule()) break;
        if (m_nPasses == 4 && (m_nContractBidder < 0 || m_nDoubler >= 0)) break;
        int p = m_nToCall;
        bool doublerSide = m_nDoubler >= 0 && (m_nDoubler == p || m_nDoubler == Partner(p));
        if (!m_controls.finishChecked[p] && !doublerSide) break;
        AddCall(p, 0, CALL_AUTO_PASS);
        MoveTurnOn();
    }
}

bool CBiddingModel::GoesOn() const {
    if (m_nRedoubler >= 0) return false;
    if (m_nPasses > m_host.BidRule()) return false;
    if (m_nPasses == 4 && !(m_nContractBidder >= 0 && m_nDoubler < 0)) return false;
    return true;
}

void CBiddingModel::Refresh(bool autoPlayOff) {
    BidControls& c = m_controls;
    c.pass = c.bet = c.redouble = c.spin = c.valueEdit = c.dbl = false;
    bool seated = m_host.IsSeated();
    bool ownFree = seated && !c.finishChecked[0] && !m_bOver;
    c.suitList = seated && !m_bOver;
    if (m_nToCall == 0 && ownFree && m_nRedoubler < 0) {
        c.pass = true;
        if (m_nDoubler < 0) c.bet = c.spin = c.valueEdit = true;
    }
    if (ownFree) {
        if (m_nDoubler < 0 && m_nContractBidder >= 0 && (m_nContractBidder & 1) == 1) c.dbl = true;
        if (m_nDoubler >= 0 && (m_nDoubler & 1) == 1 && m_nRedoubler < 0) c.redouble = true;
    }

    if (!m_bOver) {
        if (GoesOn()) {
            m_host.RefreshTable();
            if (m_nToCall >= 0 && m_host.IsPlaceAutoPlayed(m_nToCall, autoPlayOff))
                m_poster.PostStep(STEP_AUTO_BID, 0);
        } else {
            EndBidding();
            // The result may start the play (or the next deal) by computer.
            if (m_nContractBidder >= 0) {
                int turn = Next(m_host.Dealer());
                if (m_host.IsPlaceAutoPlayed(turn, autoPlayOff))
                    m_poster.PostStep(STEP_AUTO_CARD, 0);
            } else {
                int next = Next(m_host.Dealer());
                if (m_host.IsPlaceHandledHere(next) && seated)
                    m_poster.PostStep(STEP_ANNOUNCE_DEAL, m_host.UserAtPlace(next));
            }
        }
    }

    const bool buttons[5] = {c.pass, c.bet, c.dbl, c.redouble, c.close};
    c.defaultButton = -1;
    for (int i = 0; i < 5; ++i)
        if (buttons[i]) {
            c.defaultButton = i;
            break;
        }
}

void CBiddingModel::EndBidding() {
    m_bOver = true;
    m_host.StopComputerSearch();
    if (m_host.MainViewExists() && m_nToCall >= 0) m_host.ClearTurnMarker(m_nToCall);
    m_host.SetBidder(-1);

    BidControls& c = m_controls;
    c.close = true;
    c.pass = c.bet = c.dbl = c.redouble = c.spin = c.valueEdit = c.suitList = false;
    for (int p = 0; p < 4; ++p) {
        c.finishChecked[p] = true;
        c.finishEnabled[p] = false;
    }

    BiddingOutcome out;
    out.doubledBy = m_nDoubler;
    out.redoubledBy = m_nRedoubler;
    out.declarer = m_nContractBidder;
    if (m_nContractBidder >= 0) {
        out.value = m_nContractValue;
        out.trump = m_nContractSuit;
        out.turn = Next(m_host.Dealer());
        out.doubleLevel = m_nRedoubler >= 0 ? 2 : (m_nDoubler >= 0 ? 1 : 0);
    }
    m_host.CommitContract(out);
}

// --- Save and restore --------------------------------------------------------------

std::vector<uint8_t> CBiddingModel::SaveState() const {
    std::vector<uint8_t> out(m_log, m_log + m_nLogLength);
    out.push_back(static_cast<uint8_t>(m_nToCall >= 0 ? m_host.SeatOfPlace(m_nToCall) : 0));
    for (int seat = 1; seat <= 4; ++seat) {
        int place = m_host.PlaceOfSeat(seat);
        out.push_back(place >= 0 && place < 4 && m_controls.finishChecked[place] ? 1 : 0);
    }
    return out;
}

bool CBiddingModel::RestoreState(const uint8_t* data, size_t length) {
    if (data == nullptr || length < 5 || length > static_cast<size_t>(kBiddingSaveMax))
        return false;
    size_t callBytes = length - 5;
    const uint8_t* trailer = data + callBytes;

    BidControls keep = m_controls;
    Reset();
    m_controls.finishEnabled[0] = keep.finishEnabled[0];

    int toCall = m_host.PlaceOfSeat(trailer[0]);
    m_nToCall = toCall >= 0 && toCall < 4 ? toCall : -1;
    m_host.SetBidder(m_nToCall);
    for (int seat = 1; seat <= 4; ++seat) {
        int place = m_host.PlaceOfSeat(seat);
        if (place >= 0 && place < 4) m_controls.finishChecked[place] = trailer[seat] != 0;
    }
    for (size_t i = 0; i + 3 <= callBytes; i += 3) {
        int place = m_host.PlaceOfSeat(data[i]);
        int value = data[i + 1], suit = data[i + 2];
        if (place < 0 || place > 3 || !IsWellFormedCall(value, suit, true)) continue;
        AddCall(place, CanonicalValue(value, suit), suit);
    }
    AutoPasses();
    Refresh(true);
    return true;
}
