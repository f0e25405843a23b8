#include "net/Discovery.h"

#include <cstring>

const char kRequestText[kRequestSize] = "VESKREQUEST";
namespace {
const char kAnswerTag[12] = "VESKANSWER"; // NUL and one more zero byte

std::string BoundedText(const uint8_t* p, size_t max) {
    const void* nul = std::memchr(p, 0, max);
    size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - p) : max;
    return std::string(reinterpret_cast<const char*>(p), n);
}
} // namespace

bool IsDiscoveryRequest(const uint8_t* data, size_t len) {
    return len == kRequestSize && std::memcmp(data, kRequestText, kRequestSize) == 0;
}

void BuildDiscoveryAnswer(uint8_t* out, const char (&host)[kHostField], const USERINFO* list) {
    std::memset(out, 0, kAnswerSize);
    std::memcpy(out, kAnswerTag, sizeof kAnswerTag);
    std::memcpy(out + kAnswerHostOffset, host, kHostField);
    out[kAnswerHostOffset + kHostField - 1] = 0;
    size_t count = 0, started = 0;
    for (int i = 0; i < kMaxUsers; ++i) {
        const USERINFO& e = list[i];
        if (e.name[0] == 0) continue;
        if (e.state & 0x8000) ++started;
        if (count == kAnswerUsers) continue; // no room; still counts towards a running game
        uint8_t* slot = out + kAnswerUsersOffset + count * kAnswerUserSize;
        std::memcpy(slot, e.name, sizeof e.name);
        slot[sizeof e.name - 1] = 0;
        slot[20] = e.state != 0 ? 1 : 0;
        ++count;
    }
    out[kAnswerActiveOffset] = started > 3 ? 1 : 0;
    out[kAnswerCountOffset] = static_cast<uint8_t>(count);
}

bool ParseDiscoveryAnswer(const uint8_t* data, size_t len, uint32_t address, DiscoveryAnswer& out) {
    if (len != kAnswerSize || std::memcmp(data, kAnswerTag, 11) != 0) return false;
    out.address = address;
    out.host = BoundedText(data + kAnswerHostOffset, kHostField);
    out.active = data[kAnswerActiveOffset] != 0;
    size_t count = data[kAnswerCountOffset];
    if (count > kAnswerUsers) count = kAnswerUsers;
    out.users.clear();
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* slot = data + kAnswerUsersOffset + i * kAnswerUserSize;
        out.users.emplace_back(BoundedText(slot, 20), slot[20] != 0);
    }
    return true;
}
