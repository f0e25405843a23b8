#include "ai/CDealSimulator.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <ctime>
#include <deque>
#include <memory>
#include <string>

#include "ai/CBidEvaluator.h"
#include "ai/CBiddingModel.h"
#include "ai/CCardSearch.h"
#include "ai/CComputerBidder.h"
#include "ai/CComputerPlayer.h"
#include "ai/CFairBidEstimate.h"
#include "ai/CFairPlayer.h"
#include "ai/CSeatKnowledge.h"
#include "ai/CardPruning.h"
#include "ai/GameCommands.h"
#include "ai/SearchBits.h"

using namespace search_bits;

namespace {

int CodeOfNatural(uint32_t oneCard) {
    int index = std::countr_zero(oneCard);
    int suit = index >> 3, pos = index & 7;
    return pos == 7 ? suit : 24 + pos * 4 + suit;
}

// Every place is played by this program's computer.
class SimHost : public IBiddingHost {
public:
    explicit SimHost(int dealer) : m_dealer(dealer) {}
    int SeatOfPlace(int place) const override { return place >= 0 && place < 4 ? place + 1 : 0; }
    int PlaceOfSeat(int seat) const override { return seat >= 1 && seat <= 4 ? seat - 1 : -1; }
    int UserAtPlace(int place) const override { return place >= 0 && place < 4 ? 100 + place : -1; }
    int PlaceOfUser(int user) const override { return user >= 100 && user < 104 ? user - 100 : -1; }
    std::string NameAtPlace(int place) const override { return "P" + std::to_string(place); }
    bool IsPlaceAutoPlayed(int place, bool) const override { return place >= 0 && place < 4; }
    bool HandlesComputerPartner() const override { return true; }
    bool IsAutoPlay() const override { return true; }
    bool IsSeated() const override { return true; }
    bool IsPlaceHandledHere(int) const override { return true; }
    bool MainViewExists() const override { return true; }
    int Dealer() const override { return m_dealer; }
    int BidRule() const override { return 4; }
    void SetBidder(int) override {}
    void ClearTurnMarker(int) override {}
    void RefreshTable() override {}
    void ClearContract() override {}
    void CommitContract(const BiddingOutcome& outcome) override { m_outcome = outcome; }
    void StopComputerSearch() override {}
    void Wait(int) override {}

    BiddingOutcome m_outcome;

private:
    int m_dealer;
};

struct Command {
    int16_t cmd;
    std::string text;
    int16_t from;
};

// Commands come back to the sender at once, steps wait for the commands before them.
class Loopback : public ICommandSender, public IStepPoster {
public:
    void SendCommand(int16_t cmd, const std::string& text, int16_t from) override {
        commands.push_back({cmd, text, from});
    }
    void PostStep(int step, intptr_t) override { steps.push_back(step); }
    std::deque<Command> commands;
    std::deque<int> steps;
};

} // namespace

double CDealSimulator::ThreadCpuMicros() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

void CDealSimulator::DealHands(std::mt19937_64& rng, uint32_t hands[4]) {
    int codes[32];
    for (int i = 0; i < 4; ++i)
        codes[i] = i;
    for (int i = 4; i < 32; ++i)
        codes[i] = 20 + i;
    for (int i = 31; i > 0; --i)
        std::swap(codes[i], codes[rng() % static_cast<uint64_t>(i + 1)]);
    for (int p = 0; p < 4; ++p) {
        hands[p] = 0;
        for (int i = 0; i < 8; ++i) {
            int code = codes[p * 8 + i];
            int pos = ((code < 4 ? code + 52 : code) - 24) / 4;
            hands[p] |= (1u << pos) << (8 * (code & 3));
        }
    }
}

PlayedDeal CDealSimulator::PlayOut(const uint32_t hands[4], int trump, int leader,
                                   const ChoiceObserver& observer, const SeatPlayers& players) {
    PlayedDeal deal;
    deal.trump = trump;
    uint32_t h[4] = {hands[0], hands[1], hands[2], hands[3]};
    TrickStart trick;
    trick.trump = trump;
    trick.leader = leader & 3;
    int points[2] = {0, 0};
    CCardSearch search;
    // A fair place sees only what its seat knows.
    std::unique_ptr<CSeatKnowledge> seen[4];
    std::unique_ptr<CFairPlayer> fair[4];
    for (int p = 0; p < 4; ++p)
        if (players.samples[p] > 0) {
            seen[p] = std::make_unique<CSeatKnowledge>(p, hands[p], trump, leader);
            fair[p] = std::make_unique<CFairPlayer>(players.seed * 4 + static_cast<uint64_t>(p));
            fair[p]->SetSamples(players.samples[p]);
        }
    for (int n = 0; n < 32; ++n) {
        const int place = (trick.leader + trick.count) & 3;
        CCardSearch& used = fair[place] ? fair[place]->Search() : search;
        const uint64_t nodesBefore = used.Nodes();
        const double start = ThreadCpuMicros();
        const uint32_t chosen = fair[place] ? fair[place]->ChooseCard(*seen[place])
                                            : CComputerPlayer::ChooseCard(search, h, trick, place);
        if (observer) observer(place, used.Nodes() - nodesBefore, ThreadCpuMicros() - start);
        const uint32_t nat = TrumpToNat(chosen);
        if (nat == 0 || (nat & (nat - 1)) != 0 || (h[place] & nat) == 0) break; // no single card
        h[place] &= ~nat;
        const int code = CodeOfNatural(nat);
        deal.cards.push_back(code);
        for (auto& k : seen)
            if (k) k->Observe(place, code);
        trick.codes[trick.count++] = code;
        ++trick.cardsPlayed;
        if (trick.count < 4) continue;

        int winner = trick.leader;
        uint16_t best = PackNatural(NatOf(trick.codes[0]));
        int sum = PackedPoints(best, trump);
        for (int i = 1; i < 4; ++i) {
            uint16_t card = PackNatural(NatOf(trick.codes[i]));
            sum += PackedPoints(card, trump);
            if (BeatsCard(card, best, trump)) {
                best = card;
                winner = (trick.leader + i) & 3;
            }
        }
        if (trick.cardsPlayed == 32) sum += 10;
        points[winner & 1] += sum;
        ++deal.tricks[winner & 1];
        trick.leader = winner;
        trick.count = 0;
        for (int& c : trick.codes)
            c = -1;
    }
    deal.cardPoints[0] = points[0];
    deal.cardPoints[1] = points[1];
    if (deal.tricks[0] == 0) {
        deal.cardPoints[0] = 0;
        deal.cardPoints[1] = 250;
    } else if (deal.tricks[1] == 0) {
        deal.cardPoints[0] = 250;
        deal.cardPoints[1] = 0;
    }
    return deal;
}

PlayedDeal CDealSimulator::BidAndPlay(const uint32_t hands[4], int dealer,
                                      const ChoiceObserver& observer, const SeatPlayers& players,
                                      std::vector<double>* fairBidMicros) {
    SimHost host(dealer & 3);
    Loopback loop;
    CBiddingModel model(host, loop, loop);
    std::atomic<int> searchFlag{0};
    CBidEvaluator evaluator(&CBidEvaluator::RulesDeclarations, searchFlag, nullptr, &loop);
    evaluator.SetFairPlaces(players.FairMask(), players.seed);
    for (int p = 0; p < 4; ++p)
        if (players.samples[p] > 0)
            evaluator.SetFairSamples(p, std::min(players.samples[p], CFairBidEstimate::kSamples));
    const uint32_t dealt[4] = {hands[0], hands[1], hands[2], hands[3]};
    CComputerBidder bidder(model, evaluator, [&dealt](uint32_t out[4]) {
        for (int p = 0; p < 4; ++p)
            out[p] = dealt[p];
    });
    bidder.SetThreaded(false);

    model.Open();
    bidder.OnPanelOpened();
    if (const double us = evaluator.TakeFairMicros(); fairBidMicros && us > 0)
        fairBidMicros->push_back(us);
    int calls = 0;
    for (int guard = 0; guard < 2000 && !model.IsOver(); ++guard) {
        if (!loop.commands.empty()) {
            Command c = loop.commands.front();
            loop.commands.pop_front();
            if (c.cmd == CMD_BID && c.text.size() >= 2) {
                model.OnBidCommand(c.from, static_cast<uint8_t>(c.text[0]),
                                   static_cast<uint8_t>(c.text[1]));
                ++calls;
            }
        } else if (!loop.steps.empty()) {
            int step = loop.steps.front();
            loop.steps.pop_front();
            if (step == STEP_AUTO_BID) {
                bidder.ChooseBid();
                const double us = evaluator.TakeFairMicros();
                if (fairBidMicros && us > 0) fairBidMicros->push_back(us);
            } else if (step == STEP_BID_TURN)
                model.Refresh();
        } else {
            break;
        }
    }

    PlayedDeal deal;
    const BiddingOutcome& out = host.m_outcome;
    if (model.IsOver() && out.declarer >= 0) {
        deal = PlayOut(hands, out.trump, out.turn, observer, players);
        deal.value = out.value;
        deal.declarer = out.declarer;
        deal.doubleLevel = out.doubleLevel;
        deal.made = deal.cardPoints[out.declarer & 1] >= out.value * 10;
    }
    deal.calls = calls;
    return deal;
}
