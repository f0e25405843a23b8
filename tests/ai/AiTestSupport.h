// Card notation and test doubles shared by the computer player's tests.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ai/IBiddingHost.h"
#include "ai/ICommandSender.h"
#include "ai/IStepPoster.h"
#include "ai/SearchBits.h"
#include "ai/SearchState.h"

namespace aitest {

// "JH" = jack of hearts; ranks 7 8 9 T J Q K A, suits C D H S.
inline int Code(const std::string& card) {
    static const std::string ranks = "A23456789TJQK";
    static const std::string suits = "CDHS";
    return static_cast<int>(ranks.find(card[0]) * 4 + suits.find(card[1]));
}
inline uint32_t NatOf(int code) {
    int pos = ((code < 4 ? code + 52 : code) - 24) / 4;
    return (1u << pos) << (8 * (code & 3));
}
// Natural set of a space-separated list of cards.
inline uint32_t Nat(const std::string& list) {
    std::istringstream in(list);
    std::string card;
    uint32_t set = 0;
    while (in >> card)
        set |= NatOf(Code(card));
    return set;
}
// The same set in trump coding (every suit byte in trump order).
inline uint32_t Tr(const std::string& list) {
    return search_bits::NatToTrump(Nat(list));
}
inline uint16_t Packed(const std::string& card) {
    return search_bits::PackNatural(NatOf(Code(card)));
}

struct CapturedCommand {
    int16_t cmd;
    std::string text;
    int16_t from;
};

class CaptureSender : public ICommandSender {
public:
    void SendCommand(int16_t cmd, const std::string& text, int16_t from) override {
        sent.push_back({cmd, text, from});
    }
    std::vector<CapturedCommand> sent;
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
        if (place < 0 || place > 3) return false;
        if (place == 0 && autoPlayOff) return false;
        return computer[place];
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
    void Wait(int ms) override {
        waited += ms;
        if (onWait) onWait();
    }

    std::function<void()> onWait; // what other steps do while a computer pauses
    bool computer[4] = {false, false, false, false};
    bool seated = true;
    int dealer = 3;
    int bidRule = 4;
    int bidder = -1;
    int waited = 0;
    std::vector<BiddingOutcome> committed;
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
    for (int i = 0; i < 4; ++i)
        s.winnerAfter[i] = -1;
    s.count = 0;
    int winner = -1;
    for (size_t i = 0; i < trick.size(); ++i) {
        int place = (leader + static_cast<int>(i)) & 3;
        uint16_t packed = Packed(trick[i]);
        s.trick[place] = packed;
        if (winner < 0) {
            winner = place;
        } else {
            uint16_t w = s.trick[winner];
            int suit = packed >> 8, wsuit = w >> 8;
            uint8_t b = static_cast<uint8_t>(packed), wb = static_cast<uint8_t>(w);
            bool beats;
            if (trump < 4 && wsuit == trump)
                beats = suit == trump && search_bits::NatToTrump(b) > search_bits::NatToTrump(wb);
            else if (trump < 4 && suit == trump)
                beats = true;
            else
                beats = suit == wsuit && search_bits::NatToPlain(b) > search_bits::NatToPlain(wb);
            if (beats) winner = place;
        }
        s.winnerAfter[i] = winner;
        s.count = static_cast<int>(i) + 1;
    }
    s.toPlay = (leader + s.count) & 3;
    return s;
}

} // namespace aitest
