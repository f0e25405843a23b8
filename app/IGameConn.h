// What the game flow and the dispatcher send through the connection. The program
// forwards to the one CConn; tests put a fake table behind it that echoes every
// broadcast back in the order a dealer would.
#pragma once

#include <cstdint>

class IGameConn {
public:
    virtual ~IGameConn() = default;
    // Sends a game command: to = -1 every program, else one user; from = -1 the
    // own user, else the acting user. `text` is NUL-terminated.
    virtual void BroadcastCmd(int16_t to, int16_t cmd, const char* text, int16_t from) = 0;
    virtual void SetPlaceState(int16_t state, int16_t from) = 0;
    // Unhandled notifications at the table; 0 when every program is idle.
    virtual int16_t Synchro() = 0;
    // The notifications (WM_CONN_NOTIFY) the connection has posted to the program
    // so far, counted from its start. The program handles them in the same order.
    virtual uint32_t NotificationsPosted() const { return 0; }
};
