#include "record/RecordWriter.h"

#include "record/RecordFormat.h"

namespace {

RecordPtr Ensure(RecordPtr list) {
    return list ? std::move(list) : std::make_unique<CRecordBuffer>();
}

// Puts tag and length in front of a buffer that already starts with the content.
RecordPtr PutHeader(uint8_t tag, size_t length, RecordPtr buf) {
    uint8_t header[4] = {tag};
    const size_t n = 1 + EncodeLength(length, header + 1);
    if (!buf->Prepend(std::span<const uint8_t>(header, n))) return CRecordBuffer::MakeOverflow();
    return buf;
}

} // namespace

size_t EncodeLength(size_t length, uint8_t* out) {
    if (length < 128) {
        out[0] = static_cast<uint8_t>(length);
        return 1;
    }
    if (length < 255) {
        out[0] = kLengthOneMore;
        out[1] = static_cast<uint8_t>(length);
        return 2;
    }
    out[0] = kLengthTwoMore;
    out[1] = static_cast<uint8_t>(length >> 8);
    out[2] = static_cast<uint8_t>(length);
    return 3;
}

RecordPtr PutElement(uint8_t tag, const uint8_t* content, size_t length, RecordPtr list) {
    if (list && list->IsOverflow()) return list;
    if (length > CRecordBuffer::kMaxBytes) return CRecordBuffer::MakeOverflow();
    list = Ensure(std::move(list));
    if (length > 0 && !list->Prepend(std::span<const uint8_t>(content, length)))
        return CRecordBuffer::MakeOverflow();
    return PutHeader(tag, length, std::move(list));
}

RecordPtr PutInteger(int32_t value, RecordPtr list) {
    const uint32_t v = static_cast<uint32_t>(value);
    uint8_t bytes[4];
    size_t n = 0;
    bool started = false;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const uint8_t b = static_cast<uint8_t>(v >> shift);
        if (b != 0) started = true;
        if (started) bytes[n++] = b;
    }
    return PutElement(kTagInteger, bytes, n, std::move(list));
}

RecordPtr PutBits(size_t length, const uint8_t* bytes, RecordPtr list) {
    if (list && list->IsOverflow()) return list;
    if (length >= CRecordBuffer::kMaxBytes) return CRecordBuffer::MakeOverflow();
    list = Ensure(std::move(list));
    if (length > 0 && !list->Prepend(std::span<const uint8_t>(bytes, length)))
        return CRecordBuffer::MakeOverflow();
    if (!list->Prepend(uint8_t{0})) return CRecordBuffer::MakeOverflow();
    return PutHeader(kTagBitString, length + 1, std::move(list));
}

RecordPtr PutString(std::string_view text, RecordPtr list) {
    if (text.empty()) return list;
    return PutElement(kTagString, reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                      std::move(list));
}

RecordPtr PutKind(int kind, RecordPtr list) {
    const uint8_t b = static_cast<uint8_t>(kind);
    return PutElement(kTagKind, &b, 1, std::move(list));
}

RecordPtr PutSequence(RecordPtr content, RecordPtr list) {
    if (!content || (content->Length() == 0 && !content->IsOverflow())) return list;
    if (content->IsOverflow()) return content;
    if (list && list->IsOverflow()) return list;
    const size_t length = content->Length();
    content = PutHeader(kTagSequence, length, std::move(content));
    return JoinBuffers(std::move(content), std::move(list));
}
