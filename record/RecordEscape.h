// A game record inside a text payload. A record may hold zero bytes, a text
// payload may not: the record's zero bytes are replaced by a byte value that
// the record does not use, and two bytes at the end say which.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Writes the record's bytes followed by "zz" (no zero byte in the record) or by
// "Z" and the replacement byte, the smallest byte value absent from the record.
// False, with out emptied, when every byte value occurs and no replacement is
// left, or when the record is longer than a record can be.
bool EscapeRecord(std::span<const uint8_t> record, std::string& out);

// Undoes the escaping in place on a text of `length` bytes (its terminating NUL
// not counted): when the byte at length - 2 is "Z", every byte equal to the last
// one among the first length - 2 becomes 0. Returns the length of the record in
// front of the two trailing bytes (0 for a text shorter than two bytes).
size_t UnescapeRecord(uint8_t* text, size_t length);
