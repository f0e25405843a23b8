// The user list shared by every program at the table, and the helpers that
// the program uses on it. Exported by VeskDll.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "net/VeskDllApi.h"

#pragma pack(push, 1)
// One entry of the user list. 26 bytes, byte-packed, little-endian; it travels
// on the wire inside the login reply, so the layout is fixed.
struct USERINFO {
    uint16_t state; // low 3 bits: seat 1..4 (0 = none); bit 15: started
    uint16_t owner; // id of the program that owns the entry (== index for humans)
    uint16_t aux;   // place at this program's table (0..3), 0xFFFF = none
    char name[20];  // NUL-terminated; empty = free entry
};
#pragma pack(pop)
static_assert(sizeof(USERINFO) == 26, "USERINFO is 26 bytes on the wire");

constexpr int kMaxUsers = 255;       // user ids 0..254
constexpr int kAutoPlayerBase = 100; // computer partner k lives at 100 + k
constexpr uint16_t kNoUser = 0xFFFF; // no user: a free place, seat or sender

// Strings handed from the library to the program in WM_CONN_NOTIFY.
using CString = std::string;

extern "C++" {
VESKDLL_API extern USERINFO g_UsersList[kMaxUsers];
// Notifications posted to the program and not yet handled by it.
VESKDLL_API extern std::atomic<int16_t> isBusy;

// Makes entry 100 + k a computer partner owned by `owner`; 0 when the entry is taken.
VESKDLL_API int AddAutoPlayer(USERINFO* list, char k, short owner);
// Clears entry 100 + k.
VESKDLL_API void DelAutoPlayer(USERINFO* list, char k);
// Frees a string that the library allocated for a notification.
VESKDLL_API void DeleteCString(CString* p);
}
