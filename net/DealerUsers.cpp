#include "net/DealerUsers.h"

#include <cstring>

void CDealerUsers::Clear() {
    std::memset(m_list, 0, sizeof m_list);
}

std::string CDealerUsers::UniqueName(const std::string& requested, char& bump) const {
    const std::string name = requested.substr(0, kMaxNameLength);
    const size_t prefix = name.size() < kPrefixLength ? name.size() : kPrefixLength;
    std::string candidate = name.substr(0, prefix) + "_0";
    bool agreed = false;
    signed char highest = 0;
    for (int i = 0; i < kMaxUsers; ++i) {
        const char* taken = m_list[i].name;
        if (taken[0] == 0) continue;
        // Entries are NUL-terminated within their 20 bytes; compare as C strings.
        char entry[sizeof m_list[i].name + 1] = {};
        std::memcpy(entry, taken, sizeof m_list[i].name);
        if (std::strncmp(entry, name.c_str(), prefix) != 0) continue;
        if (entry[prefix] == '_' && static_cast<signed char>(entry[prefix + 1]) > highest)
            highest = static_cast<signed char>(entry[prefix + 1]);
        candidate.back() = static_cast<char>(candidate.back() + 1);
        agreed = true;
    }
    bump = highest != 0 ? static_cast<char>(highest + 1) : 0;
    return agreed ? candidate : name;
}

int CDealerUsers::Admit(const std::string& requested) {
    // An empty name would leave the entry looking free.
    char bump = 0;
    std::string name = UniqueName(requested.empty() ? std::string("Player") : requested, bump);
    int id = -1;
    for (int i = 0; i < kMaxUsers; ++i) {
        if (!IsTaken(i)) {
            id = i;
            break;
        }
    }
    if (id < 0) return -1;
    if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
    if (bump != 0 && !name.empty()) name.back() = bump;
    USERINFO& e = m_list[id];
    std::memset(&e, 0, sizeof e);
    e.state = 0;
    e.owner = static_cast<uint16_t>(id);
    e.aux = 0xFFFF;
    std::memcpy(e.name, name.data(), name.size());
    return id;
}

void CDealerUsers::Detach(uint16_t id) {
    if (!IsValidId(id)) return;
    for (int i = 0; i < kMaxUsers; ++i)
        if (i != id && m_list[i].owner == id) std::memset(&m_list[i], 0, sizeof m_list[i]);
    m_list[id].state = 0;
    m_list[id].name[0] = 0;
}

void CDealerUsers::SetState(uint16_t id, uint16_t state) {
    if (IsValidId(id)) m_list[id].state = state;
}
