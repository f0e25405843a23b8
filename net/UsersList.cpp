#include "net/UsersList.h"

#include <cstring>

USERINFO g_UsersList[kMaxUsers];
std::atomic<int16_t> isBusy{0};
std::atomic<int> g_nQueuedStrings{0};

namespace {
// Entry 100 + k with k sign-extended; nullptr when that falls outside the list.
USERINFO* AutoEntry(USERINFO* list, char k) {
    int index = kAutoPlayerBase + static_cast<signed char>(k);
    if (list == nullptr || index < 0 || index >= kMaxUsers) return nullptr;
    return &list[index];
}
} // namespace

int AddAutoPlayer(USERINFO* list, char k, short owner) {
    USERINFO* entry = AutoEntry(list, k);
    if (entry == nullptr || entry->name[0] != 0) return 0;
    static const char* const kNames[] = {"Ivla", "Medra", "Tesiva", "Olvessa"};
    const int n = static_cast<signed char>(k);
    std::memset(entry->name, 0, sizeof entry->name);
    if (n >= 1 && n <= 4) {
        std::strcpy(entry->name, kNames[n - 1]);
    } else {
        std::strcpy(entry->name, "Comp0");
        entry->name[4] = static_cast<char>('0' + n);
    }
    entry->state = static_cast<uint16_t>(0x8000 | (static_cast<uint16_t>(n) & 0x7FFF));
    entry->owner = static_cast<uint16_t>(owner);
    entry->aux = 0xFFFF;
    return 1;
}

void DelAutoPlayer(USERINFO* list, char k) {
    if (USERINFO* entry = AutoEntry(list, k)) std::memset(entry, 0, sizeof *entry);
}

void DeleteCString(CString* p) {
    if (p == nullptr) return;
    --g_nQueuedStrings;
    delete p;
}
