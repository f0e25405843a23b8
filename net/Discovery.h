// The datagrams by which a joining program finds the dealers on the local
// network: a 12-byte request broadcast to UDP port 251 (by default) and a
// 474-byte answer from each dealer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "net/NetUi.h"
#include "net/UsersList.h"

constexpr size_t kRequestSize = 12;
constexpr size_t kAnswerSize = 474;
constexpr size_t kHostField = 40;
constexpr size_t kAnswerUsers = 20;
constexpr size_t kAnswerUserSize = 21;
constexpr size_t kAnswerHostOffset = 12;
constexpr size_t kAnswerActiveOffset = 52;
constexpr size_t kAnswerCountOffset = 53;
constexpr size_t kAnswerUsersOffset = 54;

extern const char kRequestText[kRequestSize]; // "VESKREQUEST" with its NUL

// True for exactly 12 bytes holding "VESKREQUEST" and its NUL.
bool IsDiscoveryRequest(const uint8_t* data, size_t len);
// Fills the 474-byte answer from a dealer's user list. At most 20 users fit;
// the game counts as running when more than 3 named entries have started.
void BuildDiscoveryAnswer(uint8_t* out, const char (&host)[kHostField], const USERINFO* list);
// Reads an answer; false unless it is exactly 474 bytes beginning with "VESKANSWER".
bool ParseDiscoveryAnswer(const uint8_t* data, size_t len, uint32_t address, DiscoveryAnswer& out);
