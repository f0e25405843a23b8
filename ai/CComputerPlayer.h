// The computer's card play: searches the deal from the current position and
// sends the chosen card as CMD_PLAY_CARD for the place.
#pragma once

#include <cstdint>

#include "ai/CCardSearch.h"
#include "ai/CSeatKnowledge.h"
#include "ai/SearchState.h"

class ICommandSender;
class CSeatKnowledge;

class CComputerPlayer {
public:
    explicit CComputerPlayer(ICommandSender& sender);

    // The card (one-card set, trump coding) that `place` should play from the
    // position given by the four hands (natural coding) and the current trick.
    // `place` must be the place to play. 0 when the place has no card.
    static uint32_t ChooseCard(CCardSearch& search, const uint32_t hands[4],
                               const TrickStart& trick, int place);

    // The program's entry on STEP_AUTO_CARD: chooses the card of `place` from the
    // game state and broadcasts it when the game is running. Returns the card
    // code sent, or -1 (after a beep) when no card was found.
    int PlayTurn(int place);

    // The fair player instead of the classic one, for this program's computer
    // partners and AutoPlay: it plays and bids knowing only what its seat knows.
    static void SetFair(bool fair);
    static bool Fair();
    // Seeds the fair player's sampling (tests; the program seeds it from the
    // system's entropy source).
    static void SeedFair(uint64_t seed);
    // What the seat at `place` knows now, from the game state: its own hand, the
    // cards played and by whom, the declarations shown.
    static CSeatKnowledge SeatKnowledge(int place);

    // The message pump that play searches call now and then (the program installs it).
    static void SetPumpHook(SearchPumpHook hook, void* context);
    // The default beep, called when no card results (the program installs it).
    static void SetBeepHook(void (*beep)());

private:
    ICommandSender& m_sender;
};
