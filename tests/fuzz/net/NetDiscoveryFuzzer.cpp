// Arbitrary datagrams into the discovery readers and the list model; and, given
// enough bytes, an answer built from them as a dealer's user list.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "net/CGameListModel.h"
#include "net/Discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CGameListModel model;
    static int runs = 0;
    if (runs++ % 64 == 0) model.Open();
    (void)IsDiscoveryRequest(data, size);
    DiscoveryAnswer answer;
    const uint32_t address = size > 0 ? data[0] % 4 : 0;
    if (ParseDiscoveryAnswer(data, size, address, answer)) {
        if (answer.host.size() > kHostField || answer.users.size() > kAnswerUsers) __builtin_trap();
        model.Add(answer);
        uint32_t found = 0;
        model.FindByHost(answer.host, found);
    }
    if (size >= sizeof(USERINFO) * kMaxUsers) {
        USERINFO list[kMaxUsers];
        std::memcpy(list, data, sizeof list);
        char host[kHostField];
        std::memcpy(host, data, sizeof host);
        uint8_t out[kAnswerSize];
        BuildDiscoveryAnswer(out, host, list);
        DiscoveryAnswer back;
        if (!ParseDiscoveryAnswer(out, sizeof out, 0, back)) __builtin_trap();
    }
    return 0;
}
