#include "platform/qt/UserName.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

std::string CutUserName(const std::string& name) {
    if (name.size() <= kMaxUserName) return name;
    std::size_t end = kMaxUserName;
    // Step back over continuation bytes (10xxxxxx) to the start of the
    // character that does not fit, and cut before it.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end);
}

std::string GetUserName() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    if (size <= 0) size = 16384;
    std::vector<char> buffer(static_cast<std::size_t>(size));
    passwd entry{};
    passwd* result = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 ||
        result == nullptr || result->pw_name == nullptr)
        return std::string();
    return CutUserName(result->pw_name);
}
