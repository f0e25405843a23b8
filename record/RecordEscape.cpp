#include "record/RecordEscape.h"

#include <array>

#include "record/CRecordBuffer.h"

bool EscapeRecord(std::span<const uint8_t> record, std::string& out) {
    out.clear();
    if (record.size() > CRecordBuffer::kMaxBytes) return false;
    std::array<bool, 256> seen{};
    for (uint8_t b : record)
        seen[b] = true;

    out.reserve(record.size() + 2);
    if (!seen[0]) {
        out.append(reinterpret_cast<const char*>(record.data()), record.size());
        out += "zz";
        return true;
    }
    int m = 1;
    while (m < 256 && seen[m])
        ++m;
    if (m == 256) return false;
    const char replacement = static_cast<char>(m);
    for (uint8_t b : record)
        out += b == 0 ? replacement : static_cast<char>(b);
    out += 'Z';
    out += replacement;
    return true;
}

size_t UnescapeRecord(uint8_t* text, size_t length) {
    if (text == nullptr || length < 2) return 0;
    const size_t n = length - 2;
    if (text[n] != 'Z') return n;
    const uint8_t m = text[length - 1];
    for (size_t i = 0; i < n; ++i)
        if (text[i] == m) text[i] = 0;
    return n;
}
