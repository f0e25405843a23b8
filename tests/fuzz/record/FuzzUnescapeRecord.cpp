// Arbitrary text unescaped as a record payload and walked; and the bytes escaped
// as a record: a text without zero bytes that unescapes to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "record/CBerWalker.h"
#include "record/RecordEscape.h"

namespace {

class CCountWalker : public CBerWalker {
public:
    size_t bytes = 0;

protected:
    void ApplyElement(uint8_t, const uint8_t* content, size_t length) override {
        // Touches every byte handed on: the sanitizer sees any read outside.
        for (size_t i = 0; i < length; ++i)
            bytes += content[i];
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // As a received payload: the text up to its first NUL.
    std::vector<uint8_t> text(data, data + size);
    text.push_back(0);
    const size_t length = std::strlen(reinterpret_cast<const char*>(text.data()));
    const size_t n = UnescapeRecord(text.data(), length);
    if (n > length) std::abort();
    CCountWalker walker;
    const int taken = walker.Walk(std::span<const uint8_t>(text.data(), n));
    if (taken > static_cast<int>(n)) std::abort();

    // As a record to send.
    std::string escaped;
    if (EscapeRecord(std::span<const uint8_t>(data, size), escaped)) {
        if (escaped.size() != size + 2 || escaped.find('\0') != std::string::npos) std::abort();
        std::vector<uint8_t> back(escaped.begin(), escaped.end());
        const size_t m = UnescapeRecord(back.data(), back.size());
        if (m != size || (size > 0 && std::memcmp(back.data(), data, size) != 0)) std::abort();
    } else if (size <= 65535) {
        // Refused only when every byte value occurs.
        bool seen[256] = {};
        for (size_t i = 0; i < size; ++i)
            seen[data[i]] = true;
        for (bool s : seen)
            if (!s) std::abort();
    }
    return 0;
}
