// The dealer's own user list: who is at the table as the dealer sees it. Kept
// only in the dealer's process, apart from that process's g_UsersList.
#pragma once

#include <cstdint>
#include <string>

#include "net/UsersList.h"

class CDealerUsers {
public:
    CDealerUsers() { Clear(); }
    void Clear();

    // Admits a user asking for `requested`: gives a unique name and the lowest
    // free id and fills the entry. Returns the id, or -1 when the list is full.
    int Admit(const std::string& requested);
    // The unique name that `requested` would get now (without taking an entry);
    // `bump` is set to the suffix character to raise the last character to, 0 if none.
    std::string UniqueName(const std::string& requested, char& bump) const;

    // A user leaves: its computer partners go, and its entry is free again.
    void Detach(uint16_t id);
    void SetState(uint16_t id, uint16_t state);
    void AddAuto(char k, uint16_t owner) { AddAutoPlayer(m_list, k, static_cast<short>(owner)); }
    void DelAuto(char k) { DelAutoPlayer(m_list, k); }

    static bool IsValidId(uint16_t id) { return id < kMaxUsers; }
    bool IsTaken(int id) const { return m_list[id].name[0] != 0; }
    const USERINFO* List() const { return m_list; }
    USERINFO* List() { return m_list; }

    static constexpr size_t kMaxNameLength = 19; // fits the 20-byte field with its NUL
    static constexpr size_t kPrefixLength = 16;

private:
    USERINFO m_list[kMaxUsers];
};
