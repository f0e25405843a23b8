// The seat panel's state: the four seats with their "Free" and "Start" buttons
// and who holds each seat. The panel's window shows this state; a click sends a
// place state and the buttons change only when that state comes back (Apply).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/TextMark.h"

class IGameConn;

// The text of a free seat's button (translated where shown; a held seat shows its holder's name).
constexpr const char* kFreeSeatText = VESK_TRANSLATE_NOOP("Vesk", "Free");

struct SeatButtons {
    bool freeChecked = false;
    bool freeEnabled = true;
    std::string freeText = kFreeSeatText;
    bool startChecked = false;
    bool startEnabled = false;
};

class CSeatPanel {
public:
    // `beep` is called for Enter and Escape (the simple beep).
    CSeatPanel(IGameConn& conn, std::function<void()> beep);

    // Seat k = 1..4. `checkedAfterClick` is the button's state after the click; the
    // button itself stays as it was until the place state comes back.
    void ClickFree(int seat, bool checkedAfterClick);
    void ClickStart(int seat, bool checkedAfterClick);
    // Enter or Escape: a beep, the panel stays.
    void KeyPressed();

    // A place state arrived (or was found at opening). Rebuilds the seating and
    // answers true when all four seats have started: the panel is to close.
    bool Apply(int user, uint16_t state);

    const SeatButtons& Seat(int seat) const { return m_seats[(seat - 1) & 3]; }
    int Occupant(int seat) const { return m_occupant[(seat - 1) & 3]; }

    // Called after every change of the buttons (the window redraws them).
    void SetChangedHandler(std::function<void()> changed) { m_changed = std::move(changed); }

private:
    void Changed();

    IGameConn& m_conn;
    std::function<void()> m_beep;
    std::function<void()> m_changed;
    SeatButtons m_seats[4];
    int m_occupant[4] = {-1, -1, -1, -1}; // user id per seat, -1 = free
};
