#include "app/CSeatPanel.h"

#include <cstring>

#include "app/IGameConn.h"
#include "app/NetCommands.h"
#include "net/UsersList.h"
#include "rules/Cards.h"
#include "rules/GameState.h"

CSeatPanel::CSeatPanel(IGameConn& conn, std::function<void()> beep)
    : m_conn(conn), m_beep(std::move(beep)) {}

void CSeatPanel::ClickFree(int seat, bool checkedAfterClick) {
    if (seat < 1 || seat > 4) return;
    const int c = checkedAfterClick ? 1 : 0;
    m_conn.SetPlaceState(static_cast<int16_t>(seat * c), -1);
}

void CSeatPanel::ClickStart(int seat, bool checkedAfterClick) {
    if (seat < 1 || seat > 4) return;
    const int c = checkedAfterClick ? 1 : 0;
    m_conn.SetPlaceState(static_cast<int16_t>(seat - 32768 * c), -1);
}

void CSeatPanel::KeyPressed() {
    if (m_beep) m_beep();
}

bool CSeatPanel::Apply(int user, uint16_t state) {
    const int seatOfState = state & kSeatMask;
    for (int k = 1; k <= 4; ++k) {
        SeatButtons& b = m_seats[k - 1];
        if (m_occupant[k - 1] == user && seatOfState != k) {
            b.startChecked = false;
            b.startEnabled = false;
            b.freeChecked = false;
            b.freeText = kFreeSeatText;
            b.freeEnabled = true;
            m_occupant[k - 1] = -1;
        }
    }
    if (state != 0 && seatOfState >= 1 && seatOfState <= 4) {
        const int k = seatOfState;
        SeatButtons& b = m_seats[k - 1];
        const int holder = m_occupant[k - 1];
        if (holder != user && holder >= 0 && holder < kMaxUsers) g_UsersList[holder].state = 0;
        b.freeChecked = true;
        const char* name = user >= 0 && user < kMaxUsers ? g_UsersList[user].name : "";
        std::string text(name, strnlen(name, sizeof g_UsersList[0].name));
        b.freeText = text.empty() ? "???" : text;
        m_occupant[k - 1] = user;
        b.startChecked = (state & kStartedBit) != 0;
        const bool own = user == OwnUserId();
        b.startEnabled = own;
        b.freeEnabled = own;
    }
    Changed();
    return RebuildSeating() != 0;
}

void CSeatPanel::Changed() {
    if (m_changed) m_changed();
}
