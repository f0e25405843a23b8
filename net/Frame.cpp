#include "net/Frame.h"

#include <cstring>

FrameHeader DecodeHeader(const uint8_t* p) {
    FrameHeader h;
    h.from = GetU16(p);
    h.to = GetU16(p + 2);
    h.command = GetU16(p + 4);
    h.version = GetU16(p + 6);
    h.seq = GetU32(p + 8);
    h.length = GetU32(p + 12);
    return h;
}

size_t EncodeFrame(uint8_t* out, FrameHeader header, const void* payload, size_t payloadLen) {
    header.length = static_cast<uint32_t>(payloadLen + kHeaderSize);
    PutU16(out, header.from);
    PutU16(out + 2, header.to);
    PutU16(out + 4, header.command);
    PutU16(out + 6, header.version);
    PutU32(out + 8, header.seq);
    PutU32(out + 12, header.length);
    if (payloadLen > 0) std::memcpy(out + kHeaderSize, payload, payloadLen);
    return header.length;
}

bool IsFrameAcceptable(const uint8_t* frame, size_t bytesRead) {
    if (bytesRead < kHeaderSize) return false;
    const FrameHeader h = DecodeHeader(frame);
    return h.length == bytesRead &&
           static_cast<int16_t>(h.version) <= static_cast<int16_t>(kFrameVersion);
}

std::string PayloadText(const uint8_t* payload, size_t len) {
    const void* nul = len ? std::memchr(payload, 0, len) : nullptr;
    size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - payload) : len;
    return std::string(reinterpret_cast<const char*>(payload), n);
}

uint16_t PayloadU16(const uint8_t* payload, size_t len) {
    return len >= 2 ? GetU16(payload) : 0;
}
