// Walks the elements of a game record. The bytes come from other programs and
// from files, so every length is checked against what remains of the enclosing
// content, constructed elements nest at most kMaxRecordDepth deep, and a
// malformed record ends the walk with -1 without touching anything outside the
// bytes given. Each primitive element is handed to ApplyElement in record order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class CBerWalker {
public:
    virtual ~CBerWalker() = default;

    // Walks the element at the start of the bytes (a whole record is one outer
    // SEQUENCE). Returns the number of bytes it takes, or -1 when it is malformed,
    // holds an unknown tag or the bytes are more than a record can hold. What was
    // handed to ApplyElement before the fault stays applied.
    int Walk(std::span<const uint8_t> bytes);

protected:
    // One primitive element: INTEGER, BIT STRING (content without its first byte),
    // OCTET STRING, OBJECT IDENTIFIER, PrintableString or UTCTime.
    virtual void ApplyElement(uint8_t tag, const uint8_t* content, size_t length) = 0;

private:
    // The element at p, which has `avail` bytes left in its enclosing content;
    // its whole size, or -1.
    long WalkElement(const uint8_t* p, size_t avail, int depth);
};

// Reads the length at p (avail bytes left). Returns the number of length bytes,
// 0 when they do not fit; the length goes to *length.
size_t DecodeLength(const uint8_t* p, size_t avail, size_t* length);
