// One piece of a game record while it is built, and a finished record: at most
// 65535 bytes, since a record carries its length in 16 bits wherever it is kept.
//
// Records are written from their last element to their first, so the buffer
// keeps free room in front of its bytes and prepending is cheap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class CRecordBuffer;
// A list built so far; null is the absent list.
using RecordPtr = std::unique_ptr<CRecordBuffer>;

class CRecordBuffer {
public:
    static constexpr size_t kMaxBytes = 65535;

    CRecordBuffer() = default;

    // A copy of the bytes; null when there are more than kMaxBytes of them.
    static RecordPtr FromBytes(std::span<const uint8_t> bytes);
    // A buffer that stands for a record which grew beyond kMaxBytes. Every writer
    // passes it on unchanged, so a record that does not fit is never half built.
    static RecordPtr MakeOverflow();

    uint16_t Length() const { return static_cast<uint16_t>(m_bytes.size() - m_nStart); }
    const uint8_t* Data() const { return m_bytes.data() + m_nStart; }
    std::span<const uint8_t> Bytes() const { return {Data(), Length()}; }
    bool IsOverflow() const { return m_bOverflow; }

    // Puts bytes in front of the present ones; false (and nothing changed) when the
    // result would hold more than kMaxBytes.
    bool Prepend(std::span<const uint8_t> bytes);
    bool Prepend(uint8_t byte) { return Prepend(std::span<const uint8_t>(&byte, 1)); }

    bool operator==(const CRecordBuffer& other) const;

private:
    void MakeRoom(size_t n);

    std::vector<uint8_t> m_bytes; // [0, m_nStart) is free room
    size_t m_nStart = 0;
    bool m_bOverflow = false;
};

// The first buffer's bytes, then the second's. Joining with an absent buffer
// yields the other one unchanged; an overflow on either side, or a sum beyond
// kMaxBytes, yields the overflow buffer.
RecordPtr JoinBuffers(RecordPtr first, RecordPtr second);
