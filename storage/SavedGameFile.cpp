#include "storage/SavedGameFile.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

FileResult WriteSavedGame(const std::string& path, std::span<const uint8_t> bytes) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) return FileResult::OpenFailed;
    const size_t written =
        bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    // What stdio still buffers counts as written only once it reached the file.
    const bool flushed = std::fflush(file.get()) == 0;
    std::FILE* raw = file.release();
    const bool closed = std::fclose(raw) == 0;
    return written == bytes.size() && flushed && closed ? FileResult::Ok : FileResult::ShortWrite;
}

FileResult ReadSavedGame(const std::string& path, std::vector<uint8_t>& out) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return FileResult::OpenFailed;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return FileResult::ShortRead;
    const long size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return FileResult::ShortRead;
    if (size == 0) return FileResult::Empty;
    if (static_cast<unsigned long>(size) > kMaxSavedGameBytes) return FileResult::TooLarge;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return FileResult::ShortRead;
    out = std::move(bytes);
    return FileResult::Ok;
}
