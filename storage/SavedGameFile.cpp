#include "storage/SavedGameFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Writes every byte to the open descriptor, then closes it; the first error
// number, 0 when all went well.
int WriteAndClose(int fd, std::span<const uint8_t> bytes, bool sync) {
    int error = 0;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (error == 0 && sync && fsync(fd) != 0 && errno != EINVAL) error = errno;
    if (close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
    return error;
}

FileResult Fail(int* out, int error) {
    if (out) *out = error;
    return FileResult::ShortWrite;
}

} // namespace

FileResult WriteSavedGame(const std::string& path, std::span<const uint8_t> bytes, int* error) {
    if (error) *error = 0;
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or the like cannot be replaced by a renamed file: written in place.
        const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) {
            if (error) *error = errno;
            return FileResult::OpenFailed;
        }
        const int e = WriteAndClose(fd, bytes, false);
        return e == 0 ? FileResult::Ok : Fail(error, e);
    }
    std::string temp = path + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = errno;
        return FileResult::OpenFailed;
    }
    // The new file gets the earlier file's permissions, or those of a new file.
    if (exists) {
        fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    int e = WriteAndClose(fd, bytes, true);
    if (e == 0 && std::rename(temp.c_str(), path.c_str()) != 0) e = errno;
    if (e != 0) {
        unlink(temp.c_str());
        return Fail(error, e);
    }
    return FileResult::Ok;
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

std::string SaveFailureText(const std::string& path, FileResult result, int error) {
    std::string why;
    if (error != 0)
        why = std::strerror(error);
    else if (result == FileResult::OpenFailed)
        why = "cannot create the file";
    else
        why = "not every byte was written";
    return path + ": " + why;
}
