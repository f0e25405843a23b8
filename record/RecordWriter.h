// Writers of the game record's elements. Each takes the list built so far and
// returns it with its own element in front, so a record is written from its
// last element to its first. A list that has overflowed (see CRecordBuffer)
// comes back unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "record/CRecordBuffer.h"

// INTEGER: the value's bytes from its highest non-zero byte down, no sign byte
// (0 has empty content, a negative value takes four bytes).
RecordPtr PutInteger(int32_t value, RecordPtr list);
// BIT STRING: a first content byte 0, then the data.
RecordPtr PutBits(size_t length, const uint8_t* bytes, RecordPtr list);
// PrintableString of the text; an empty text writes no element.
RecordPtr PutString(std::string_view text, RecordPtr list);
// OBJECT IDENTIFIER naming the kind of the elements that follow.
RecordPtr PutKind(int kind, RecordPtr list);
// The content wrapped in a SEQUENCE, in front of the list; nothing without content.
RecordPtr PutSequence(RecordPtr content, RecordPtr list);

// A primitive or constructed element with the given tag and content, in front of the list.
RecordPtr PutElement(uint8_t tag, const uint8_t* content, size_t length, RecordPtr list);
// Writes the length bytes of a content length (at most 65535) into out (3 bytes);
// returns how many were written.
size_t EncodeLength(size_t length, uint8_t* out);
