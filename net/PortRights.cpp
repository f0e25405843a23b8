#include "net/PortRights.h"

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr uint16_t kPrivilegedBelow = 1024;
constexpr uint16_t kDefaultTcpPort = 250;

struct CapSets {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
};

bool ReadCaps(CapSets& caps) {
    return syscall(SYS_capget, &caps.header, caps.data) == 0;
}

constexpr unsigned kWord = CAP_NET_BIND_SERVICE / 32;
constexpr uint32_t kBit = 1u << (CAP_NET_BIND_SERVICE % 32);

} // namespace

bool HoldsBindCapability() {
    CapSets caps;
    if (!ReadCaps(caps)) return geteuid() == 0;
    return (caps.data[kWord].effective & kBit) != 0;
}

std::string RefusedDealerPort(uint16_t tcpPort, bool privileged) {
    if (!privileged) return {}; // the system itself refuses what this user may not bind
    const unsigned udpPort = tcpPort + 1u;
    const bool tcpOk = tcpPort == kDefaultTcpPort || tcpPort >= kPrivilegedBelow;
    const bool udpOk = udpPort == kDefaultTcpPort + 1u || udpPort >= kPrivilegedBelow;
    if (tcpOk && udpOk) return {};
    return "Vesk dealer will not use port " + std::to_string(tcpPort) +
           ": below 1024 only port 250 (with discovery on 251) is allowed.\n"
           "Choose port 250 or a port from 1024 up with the VESK_PORT environment "
           "variable or the --port option.";
}

bool DropBindCapability() {
    // The ambient set would hand the right on to programs started later.
    prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_LOWER, CAP_NET_BIND_SERVICE, 0, 0);
    CapSets caps;
    if (!ReadCaps(caps)) return false;
    caps.data[kWord].effective &= ~kBit;
    caps.data[kWord].permitted &= ~kBit;
    caps.data[kWord].inheritable &= ~kBit;
    if (syscall(SYS_capset, &caps.header, caps.data) != 0) return false;
    return !HoldsBindCapability();
}
