// A saved game file holds the bytes of one game record and nothing else. A record
// carries its length in 16 bits, so a file to be loaded holds at most 65535 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class FileResult {
    Ok,
    OpenFailed, // the file could not be opened (or created)
    Empty,      // the file holds no bytes
    TooLarge,   // more bytes than a record can hold
    ShortRead,  // fewer bytes read than the file's size
    ShortWrite, // fewer bytes written than given (the file is left truncated)
};

constexpr size_t kMaxSavedGameBytes = 65535;

// Writes the bytes to `path`, replacing what was there.
FileResult WriteSavedGame(const std::string& path, std::span<const uint8_t> bytes);
// Reads the whole file into `out`; `out` is left unchanged unless the answer is Ok.
FileResult ReadSavedGame(const std::string& path, std::vector<uint8_t>& out);
