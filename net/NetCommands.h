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
// A chat line, the one game command that the library itself looks at.
constexpr uint16_t CMD_CHAT_CODE = 1;

// A notification counts in the busy count (isBusy) that the table's idle probe
// sums up, except a chat line: it changes nothing at the table, and a
// stranger's lines must not keep the table waiting.
constexpr bool CountsAsBusy(uint16_t command) {
    return command != CMD_CHAT_CODE;
}
