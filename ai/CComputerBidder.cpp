#include "ai/CComputerBidder.h"

#include <utility>

#include "ai/CBidEvaluator.h"
#include "ai/CBiddingModel.h"
#include "ai/SearchBits.h"

using namespace search_bits;

namespace {

bool SameSide(int a, int b) {
    return ((a ^ b) & 1) == 0;
}
int Partner(int p) {
    return (p + 2) & 3;
}
bool ValidTrump(int t) {
    return t >= 0 && t <= 4;
}

} // namespace

CComputerBidder::CComputerBidder(CBiddingModel& model, CBidEvaluator& evaluator,
                                 std::function<void(uint32_t hands[4])> hands)
    : m_model(model), m_eval(evaluator), m_hands(std::move(hands)) {}

int CComputerBidder::Me() const {
    return m_model.PlaceToCall();
}

int CComputerBidder::CurrentValue() const {
    return m_model.ContractBidder() >= 0 ? m_model.ContractValue() : 0;
}

uint32_t CComputerBidder::MyHand() const {
    uint32_t hands[4] = {0, 0, 0, 0};
    if (m_hands) m_hands(hands);
    int me = Me();
    return me >= 0 ? hands[me & 3] : 0;
}

std::vector<BidCall> CComputerBidder::Calls() const {
    std::vector<BidCall> calls;
    const uint8_t* log = m_model.Log();
    for (int i = 0; i + 2 < m_model.LogLength(); i += 3) {
        const int place = m_model.Host().PlaceOfSeat(log[i]);
        if (place >= 0) calls.push_back({place, log[i + 1], log[i + 2]});
    }
    return calls;
}

bool CComputerBidder::RefreshFairEstimate(int me) {
    if (!(m_eval.FairPlaces() & (1 << me)) || m_callsSeen[me] == m_model.LogLength()) return false;
    if (m_eval.HasFairSamples(me)) {
        // The same sampled deals, weighed by the calls as they are now.
        m_callsSeen[me] = m_model.LogLength();
        m_eval.ReweighFair(me, Calls());
        return false;
    }
    uint32_t hands[4] = {0, 0, 0, 0};
    if (m_hands) m_hands(hands);
    m_callsSeen[me] = m_model.LogLength();
    m_eval.SetFairCalls(Calls(), 1 << me);
    m_eval.StartEvaluation(hands, m_model.Host().Dealer(), m_bThreaded);
    return m_eval.Running();
}

void CComputerBidder::StartEvaluation() {
    uint32_t hands[4] = {0, 0, 0, 0};
    if (m_hands) m_hands(hands);
    // Fair rows are worked out for the places this program's computer plays; any
    // other fair place gets its own when it comes to call.
    int now = 0;
    for (int p = 0; p < 4; ++p) {
        const bool mine =
            (m_eval.FairPlaces() & (1 << p)) && m_model.Host().IsPlaceAutoPlayed(p, false);
        if (mine) now |= 1 << p;
        m_callsSeen[p] = mine ? m_model.LogLength() : -1;
    }
    m_eval.SetFairCalls(Calls(), now);
    m_eval.StartEvaluation(hands, m_model.Host().Dealer(), m_bThreaded);
    for (int p = 0; p < 4; ++p)
        m_model.SetQuickTrump(p, -1);
    if (CurrentValue() >= 10) return;
    for (int p = 0; p < 4; ++p)
        m_model.SetQuickTrump(p, CBidEvaluator::QuickTrumpOf(hands[p]));
}

void CComputerBidder::OnPanelOpened() {
    m_eval.ClearFlags();
    IBiddingHost& host = m_model.Host();
    int me = Me();
    if (me >= 0 && host.IsPlaceAutoPlayed(me, false)) return;
    if (host.IsAutoPlay() || host.HandlesComputerPartner()) StartEvaluation();
}

bool CComputerBidder::BetAuto(int suit) {
    return ValidTrump(suit) && m_model.Bet(suit, true) == BetResult::Sent;
}

void CComputerBidder::PassCall() {
    m_model.Pass();
}

bool CComputerBidder::BetAt(int suit, int value) {
    int me = Me();
    if (!m_eval.Complete() || me < 0 || !ValidTrump(suit)) return false;
    if (m_eval.OwnEstimate[me][suit] < value) return false;
    m_model.SetSpinValue(value);
    return m_model.Bet(suit, false) == BetResult::Sent;
}

bool CComputerBidder::TryRedouble() {
    int me = Me(), c = m_model.ContractSuit();
    if (!m_eval.Complete() || me < 0 || !ValidTrump(c)) return false;
    if (m_eval.OwnEstimate[me][c] > CurrentValue()) {
        m_model.Redouble(false);
        return true;
    }
    return false;
}

bool CComputerBidder::TryDouble() {
    int me = Me(), c = m_model.ContractSuit(), bidder = m_model.ContractBidder();
    if (!m_eval.Complete() || me < 0 || bidder < 0 || SameSide(bidder, me) || !ValidTrump(c))
        return false;
    const int v = CurrentValue();
    const int opp = m_eval.OpponentEstimate[me][c];
    bool dbl = false;
    if (m_model.Passes() >= 3) {
        dbl = opp < v - 1;
    } else if (opp < v - 2) {
        int best = m_eval.BestTrump[me];
        int a = ValidTrump(best) ? m_eval.OwnEstimate[me][best] : 0;
        dbl = a < v || 2 * v + 16 > 2 * a;
    }
    if (dbl) m_model.Double(false);
    return dbl;
}

bool CComputerBidder::TryBet() {
    int me = Me();
    if (!m_eval.Complete() || me < 0) return false;
    const int v = CurrentValue(), c = m_model.ContractSuit();
    const int best = m_eval.BestTrump[me];
    if (!ValidTrump(best)) return false;
    if (m_model.Passes() == 3 || v > 14) {
        if (best == c) {
            int a = m_eval.OwnEstimate[me][c];
            if (a < 25) a -= 2;
            return a > v && BetAt(c, a);
        }
        return m_eval.OwnEstimate[me][best] > v && BetAuto(best);
    }
    if (m_model.PartnershipSuit(me) == -1) {
        int q = m_model.QuickTrump(me);
        m_model.SetPartnershipSuit(me, q >= 0 ? q : best);
    }
    const int f = m_model.PartnershipSuit(me);
    if (ValidTrump(f) && f != best && m_eval.OwnEstimate[me][f] > v) return BetAuto(f);
    if (m_eval.OwnEstimate[me][best] > v) return BetAuto(best);
    return false;
}

void CComputerBidder::ChooseBid() {
    // The pause below lets other steps run; one of them may ask again meanwhile.
    if (m_bChoosing) return;
    m_bChoosing = true;
    Choose();
    m_bChoosing = false;
}

void CComputerBidder::Choose() {
    IBiddingHost& host = m_model.Host();
    const int me = Me();
    if (me < 0 || m_model.IsOver() || !host.IsPlaceAutoPlayed(me, false) || !host.MainViewExists())
        return;
    if (!m_eval.Complete()) {
        if (m_eval.Running()) return; // the worker's step brings us back
        StartEvaluation();
    }
    if (m_eval.Complete() && RefreshFairEstimate(me)) return; // its step brings us back
    const int v = CurrentValue();
    if (m_model.Doubler() >= 0) {
        if (!SameSide(m_model.Doubler(), me) && TryRedouble()) return;
        PassCall();
        return;
    }
    if (m_model.Redoubler() >= 0) {
        PassCall();
        return;
    }
    if (!m_eval.Complete()) {
        int q = m_model.QuickTrump(me);
        if (q >= 0 && BetAuto(q)) return;
        PassCall();
        return;
    }
    const int logBefore = m_model.LogLength();
    host.Wait(200);
    // A call that arrived during the pause changed the bidding: the refresh that
    // came with it asks again.
    if (m_model.IsOver() || Me() != me || m_model.LogLength() != logBefore) return;

    // Partner support.
    const int s = m_model.PartnerLastSuit(me);
    const int raises = m_model.RaiseCount(me);
    if (raises != 0 && ValidTrump(s) && m_model.SuitHolder(me, s) == Partner(me)) {
        const uint32_t hand = MyHand();
        const int best = m_eval.BestTrump[me];
        bool support = false;
        if (raises == 1 && m_model.RaiseFlag(me, s) == 0) {
            m_model.SetRaiseFlag(me, s, 1);
            const uint8_t mine = Byte(hand, s);
            int value = v;
            if (mine & 0x10) value += 2; // the jack
            if (mine & 0x04) value += 1; // the nine
            if ((mine & ~0x14) == 0) value -= 1;
            if (value > v && BetAt(s, value)) return;
            support = true;
        } else if (m_model.RaiseFlag(me, s) == 1) {
            m_model.SetRaiseFlag(me, s, 2);
            int aces = 0;
            for (int suit = 0; suit < 4; ++suit)
                if (suit != s && (Byte(hand, suit) & 0x80)) ++aces;
            if (aces > 0 && BetAt(s, v + aces)) return;
            support = true;
        }
        if (support) {
            if (best == s) {
                PassCall();
                return;
            }
            if (BetAt(best, v + 1)) return;
        }
    }

    if (TryDouble()) return;
    if (TryBet()) return;
    PassCall();
}
