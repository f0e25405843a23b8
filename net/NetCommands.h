// The library's own commands and the message that carries every command to the
// program's window. Shared by the library and the program.
#pragma once

#include <cstdint>

// WM_USER + 2: posted by the library to the program's window for every command
// that arrives; wParam = (command << 16) | from, lParam = the payload string
// (or, for NET_PLACESTATE, the place state itself).
constexpr uint32_t WM_CONN_NOTIFY = 1026;

constexpr uint16_t NET_ATTACH = 4;
constexpr uint16_t NET_DETACH = 5;
constexpr uint16_t NET_PLACESTATE = 6;
constexpr uint16_t NET_LOGIN = 16;
constexpr uint16_t NET_SYNCREPLY = 17;
constexpr uint16_t NET_ADDAUTO = 18;
constexpr uint16_t NET_DELAUTO = 19;
