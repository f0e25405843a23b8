#include "record/CRecordBuffer.h"

#include <algorithm>
#include <cstring>

RecordPtr CRecordBuffer::FromBytes(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxBytes) return nullptr;
    auto buf = std::make_unique<CRecordBuffer>();
    buf->m_bytes.assign(bytes.begin(), bytes.end());
    return buf;
}

RecordPtr CRecordBuffer::MakeOverflow() {
    auto buf = std::make_unique<CRecordBuffer>();
    buf->m_bOverflow = true;
    return buf;
}

void CRecordBuffer::MakeRoom(size_t n) {
    if (m_nStart >= n) return;
    const size_t used = m_bytes.size() - m_nStart;
    // Room for what is asked and as much again as is held, so that a record
    // written element by element is moved only a few times.
    const size_t room = std::max<size_t>(n + used, 64);
    std::vector<uint8_t> grown(room + used);
    if (used > 0) std::memcpy(grown.data() + room, m_bytes.data() + m_nStart, used);
    m_bytes.swap(grown);
    m_nStart = room;
}

bool CRecordBuffer::Prepend(std::span<const uint8_t> bytes) {
    if (m_bOverflow) return false;
    if (bytes.size() > kMaxBytes - Length()) return false;
    if (bytes.empty()) return true;
    MakeRoom(bytes.size());
    m_nStart -= bytes.size();
    std::memcpy(m_bytes.data() + m_nStart, bytes.data(), bytes.size());
    return true;
}

bool CRecordBuffer::operator==(const CRecordBuffer& other) const {
    if (m_bOverflow != other.m_bOverflow || Length() != other.Length()) return false;
    return Length() == 0 || std::memcmp(Data(), other.Data(), Length()) == 0;
}

RecordPtr JoinBuffers(RecordPtr first, RecordPtr second) {
    if (!first) return second;
    if (!second) return first;
    if (first->IsOverflow()) return first;
    if (second->IsOverflow()) return second;
    if (!second->Prepend(first->Bytes())) return CRecordBuffer::MakeOverflow();
    return second;
}
