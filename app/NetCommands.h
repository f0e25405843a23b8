// The library's own commands as the game program sees them in WM_CONN_NOTIFY.
// The game commands proper (CMD_...) and the step numbers are in ai/GameCommands.h.
#pragma once

#include <cstdint>

// WM_USER + 2: posted by the library to the main frame for every command that
// arrives; wParam = (command << 16) | from, lParam = the payload string (or, for
// NET_PLACESTATE, the place state itself).
constexpr uint32_t WM_CONN_NOTIFY = 1026;

enum NetCommand : int16_t {
    NET_ATTACH = 4,
    NET_DETACH = 5,
    NET_PLACESTATE = 6,
    NET_LOGIN = 16,
    NET_SYNCREPLY = 17,
    NET_ADDAUTO = 18,
    NET_DELAUTO = 19,
};

// Highest command code the dispatcher handles.
constexpr int kLastCommand = 19;

// Place state bits: the seat in the low three bits, the started flag in bit 15.
constexpr int kSeatMask = 7;
constexpr uint16_t kStartedBit = 0x8000;
// The place state a seated program announces when its game is over.
constexpr uint16_t kGameOverState = 0x8000;
