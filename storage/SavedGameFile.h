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
    ShortWrite, // not every byte reached the file (a file there before is kept)
};

constexpr size_t kMaxSavedGameBytes = 65535;

// Writes the bytes to `path`, replacing what was there. A regular file (or a
// new one) is written to a temporary file in the same folder, which then takes
// the name, so that a failed save leaves the earlier file as it was; anything
// else at `path` (a device) is written in place. Ok only when every byte was
// written, flushed and closed; otherwise `error` gets the system's error number.
FileResult WriteSavedGame(const std::string& path, std::span<const uint8_t> bytes,
                          int* error = nullptr);
// Reads the whole file into `out`; `out` is left unchanged unless the answer is Ok.
FileResult ReadSavedGame(const std::string& path, std::vector<uint8_t>& out);
// Why a write failed, for the player: "<path>: <reason>".
std::string SaveFailureText(const std::string& path, FileResult result, int error);
