// The frame that carries every command between a program and the dealer: a
// 16-byte little-endian header followed by the payload.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "net/NetCommands.h"
#include "net/UsersList.h"

constexpr uint16_t kFrameVersion = 1008;
constexpr uint16_t kEverybody = 0xFFFF;
constexpr size_t kHeaderSize = 16;
constexpr size_t kBufferSize = 8000;
constexpr size_t kMaxPayload = kBufferSize - kHeaderSize;
constexpr size_t kLoginRequestSize = 56;
constexpr size_t kLoginNameField = kLoginRequestSize - kHeaderSize; // 40
constexpr size_t kLoginReplySize = 6686;
constexpr size_t kLoginListOffset = 56;

struct FrameHeader {
    uint16_t from = 0;
    uint16_t to = 0;
    uint16_t command = 0;
    uint16_t version = kFrameVersion;
    uint32_t seq = 0;
    uint32_t length = 0;
};

inline uint16_t GetU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Reads the header of the 16 bytes at p.
FrameHeader DecodeHeader(const uint8_t* p);
// Writes the header and the payload into out (at least 16 + payloadLen bytes);
// the length field is set from payloadLen. Returns the frame length.
size_t EncodeFrame(uint8_t* out, FrameHeader header, const void* payload, size_t payloadLen);

// A length field that fits the buffer: 16..8000.
inline bool IsFrameLengthValid(uint32_t length) {
    return length >= kHeaderSize && length <= kBufferSize;
}
// The check every received frame passes: read whole, version (signed) at most 1008.
bool IsFrameAcceptable(const uint8_t* frame, size_t bytesRead);

// Counted commands: everything except chat and the library's own 4, 5, 6, 16, 17.
inline bool IsCountedCommand(uint16_t command) {
    return command != CMD_CHAT_CODE && command != NET_ATTACH && command != NET_DETACH &&
           command != NET_PLACESTATE && command != NET_LOGIN && command != NET_SYNCREPLY;
}

// The payload read as a NUL-terminated string; stops at the end of the payload
// when no NUL is there.
std::string PayloadText(const uint8_t* payload, size_t len);
// The first u16 of the payload, 0 when it is shorter than two bytes.
uint16_t PayloadU16(const uint8_t* payload, size_t len);
