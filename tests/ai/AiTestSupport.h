// Card notation and test doubles shared by the computer player's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ai/CBiddingModel.h"
#include "ai/CardPruning.h"
#include "ai/IBiddingHost.h"
#include "ai/ICommandSender.h"
#include "ai/IStepPoster.h"
#include "ai/SearchBits.h"
#include "ai/SearchState.h"

namespace aitest {

// "JH" = jack of hearts; ranks 7 8 9 T J Q K A, suits C D H S.
inline int Code(const std::string& card) {
    static const std::string ranks = "A23456789TJQK", suits = "CDHS";
    return static_cast<int>(ranks.find(card[0]) * 4 + suits.find(card[1]));
}
using search_bits::NatOf;
// Natural set of a space-separated list of cards.
inline uint32_t Nat(const std::string& list) {
    std::istringstream in(list);
    uint32_t set = 0;
    for (std::string card; in >> card;)
        set |= NatOf(Code(card));
    return set;
}
// The same set in trump coding (every suit byte in trump order).
inline uint32_t Tr(const std::string& list) {
    return search_bits::NatToTrump(Nat(list));
}

class CaptureSender : public ICommandSender {
public:
    struct Command {
        int16_t cmd;
        std::string text;
        int16_t from;
    };
    void SendCommand(int16_t cmd, const std::string& text, int16_t from) override {
        sent.push_back({cmd, text, from});
    }
    std::vector<Command> sent;
};

class CapturePoster : public IStepPoster {
public:
    void PostStep(int step, intptr_t arg) override {
        std::lock_guard<std::mutex> lock(mutex);
        steps.emplace_back(step, arg);
    }
    std::vector<std::pair<int, intptr_t>> Steps() {
        std::lock_guard<std::mutex> lock(mutex);
        return steps;
    }
    std::mutex mutex;
    std::vector<std::pair<int, intptr_t>> steps;
};

// Seat s holds place s - 1 (the own user sits at seat 1); user ids 10..13 by place.
class FakeHost : public IBiddingHost {
public:
    int SeatOfPlace(int place) const override { return place >= 0 && place < 4 ? place + 1 : 0; }
    int PlaceOfSeat(int seat) const override { return seat >= 1 && seat <= 4 ? seat - 1 : -1; }
    int UserAtPlace(int place) const override { return place >= 0 && place < 4 ? 10 + place : -1; }
    int PlaceOfUser(int user) const override { return user >= 10 && user < 14 ? user - 10 : -1; }
    std::string NameAtPlace(int place) const override { return "P" + std::to_string(place); }
    bool IsPlaceAutoPlayed(int place, bool autoPlayOff) const override {
        return place >= 0 && place < 4 && !(place == 0 && autoPlayOff) && computer[place];
    }
    bool HandlesComputerPartner() const override {
        return computer[1] || computer[2] || computer[3];
    }
    bool IsAutoPlay() const override { return computer[0]; }
    bool IsSeated() const override { return seated; }
    bool IsPlaceHandledHere(int place) const override { return place == 0 || computer[place & 3]; }
    bool MainViewExists() const override { return true; }
    int Dealer() const override { return dealer; }
    int BidRule() const override { return bidRule; }
    void SetBidder(int place) override { bidder = place; }
    void ClearTurnMarker(int) override {}
    void RefreshTable() override {}
    void ClearContract() override {}
    void CommitContract(const BiddingOutcome& outcome) override { committed.push_back(outcome); }
    void StopComputerSearch() override {}
    void Wait(int) override {}

    bool computer[4] = {false, false, false, false};
    bool seated = true;
    int dealer = 3, bidRule = 4, bidder = -1;
    std::vector<BiddingOutcome> committed;
};

// The bidding panel's model on the fake host; calls arrive as the places' bid commands.
class BiddingTest : public ::testing::Test {
protected:
    void SetUp() override { Make(); }
    void Make() {
        model = std::make_unique<CBiddingModel>(host, sender, poster);
        model->Open();
    }
    void Bet(int place, int value, int suit) {
        model->OnBidCommand(10 + place, value + 1, suit + 1);
    }
    void Pass(int place) { Bet(place, 0, CALL_PASS); }
    void Double(int place) { Bet(place, 1, CALL_DOUBLE); }
    void Redouble(int place) { Bet(place, 2, CALL_REDOUBLE); }

    FakeHost host;
    CaptureSender sender;
    CapturePoster poster;
    std::unique_ptr<CBiddingModel> model;
};

// A position with the given hands (by place), trump and cards already on the trick
// (in play order from `leader`).
inline SearchState Position(const std::string hands[4], int trump, int leader,
                            const std::vector<std::string>& trick = {}, int early = 0) {
    SearchState s{};
    for (int p = 0; p < 4; ++p)
        s.hands[p] = Nat(hands[p]);
    s.trump = trump;
    s.early = early;
    s.lastWinner = -1;
    for (int& w : s.winnerAfter)
        w = -1;
    int winner = -1;
    for (size_t i = 0; i < trick.size(); ++i) {
        const int place = (leader + static_cast<int>(i)) & 3;
        const uint16_t c = search_bits::PackNatural(Nat(trick[i]));
        s.trick[place] = c;
        if (winner < 0 || BeatsCard(c, s.trick[winner], trump)) winner = place;
        s.winnerAfter[i] = winner;
        s.count = static_cast<int>(i) + 1;
    }
    s.toPlay = (leader + s.count) & 3;
    return s;
}

// Plays `code` from `place` into the trick and starts the next trick when it is full.
inline void Advance(TrickStart& trick, uint32_t hands[4], int place, int code) {
    hands[place] &= ~search_bits::NatOf(code);
    trick.codes[trick.count++] = code;
    ++trick.cardsPlayed;
    if (trick.count < 4) return;
    int winner = trick.leader;
    uint16_t best = search_bits::PackNatural(search_bits::NatOf(trick.codes[0]));
    for (int i = 1; i < 4; ++i) {
        const uint16_t c = search_bits::PackNatural(search_bits::NatOf(trick.codes[i]));
        if (BeatsCard(c, best, trick.trump)) {
            best = c;
            winner = (trick.leader + i) & 3;
        }
    }
    trick.leader = winner;
    trick.count = 0;
}

} // namespace aitest
