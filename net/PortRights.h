// The right to open ports below 1024. The installed program holds the file
// capability cap_net_bind_service so that any user can deal on TCP 250 and
// UDP 251; it must not become a way to listen on any other privileged port,
// and it is given up as soon as the dealer's sockets are bound.
#pragma once

#include <cstdint>
#include <string>

// True when the process may bind ports below 1024: cap_net_bind_service is in
// its effective set (the installed program, or root).
bool HoldsBindCapability();

// The dealer listens on TCP `tcpPort` and answers discovery on UDP tcpPort + 1.
// With the right to bind low ports, only 250 (and 251) may lie below 1024.
// Empty when the ports may be used, else the message for the player.
std::string RefusedDealerPort(uint16_t tcpPort, bool privileged);

// Removes cap_net_bind_service from the effective, permitted, inheritable and
// ambient sets, so that nothing later in the process can use it. True when the
// process holds it no more.
bool DropBindCapability();
