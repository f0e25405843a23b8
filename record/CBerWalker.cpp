#include "record/CBerWalker.h"

#include "record/CRecordBuffer.h"
#include "record/RecordFormat.h"

size_t DecodeLength(const uint8_t* p, size_t avail, size_t* length) {
    if (avail < 1) return 0;
    if (p[0] < 0x80) {
        *length = p[0];
        return 1;
    }
    if (p[0] == kLengthOneMore) {
        if (avail < 2) return 0;
        *length = p[1];
        return 2;
    }
    // Any other first byte of 128 or more takes two further bytes.
    if (avail < 3) return 0;
    *length = (static_cast<size_t>(p[1]) << 8) | p[2];
    return 3;
}

int CBerWalker::Walk(std::span<const uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > CRecordBuffer::kMaxBytes) return -1;
    const long taken = WalkElement(bytes.data(), bytes.size(), 0);
    return taken < 0 ? -1 : static_cast<int>(taken);
}

long CBerWalker::WalkElement(const uint8_t* p, size_t avail, int depth) {
    if (avail < 2) return -1;
    const uint8_t tag = p[0];
    size_t length = 0;
    const size_t lengthBytes = DecodeLength(p + 1, avail - 1, &length);
    if (lengthBytes == 0) return -1;
    const size_t header = 1 + lengthBytes;
    if (length > avail - header) return -1;
    const uint8_t* content = p + header;

    switch (tag) {
    case kTagSet:
        if (lengthBytes != 1) return -1;
        [[fallthrough]];
    case kTagSequence: {
        if (depth >= kMaxRecordDepth) return -1;
        size_t pos = 0;
        while (pos < length) {
            const long n = WalkElement(content + pos, length - pos, depth + 1);
            if (n < 0) return -1;
            pos += static_cast<size_t>(n);
        }
        break;
    }
    case kTagBitString:
        // The first content byte counts the unused bits; the data follows it.
        if (length > 0)
            ApplyElement(tag, content + 1, length - 1);
        else
            ApplyElement(tag, content, 0);
        break;
    case kTagInteger:
    case kTagOctetString:
    case kTagKind:
    case kTagString:
    case kTagTime:
        ApplyElement(tag, content, length);
        break;
    default:
        return -1;
    }
    return static_cast<long>(header + length);
}
