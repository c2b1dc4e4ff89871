#include "TextFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quorvin::files {

namespace {

#ifdef _WIN32
using FileStatus = struct _stat64;
int openForReading(const std::filesystem::path& file) {
    return _wopen(file.c_str(), _O_RDONLY | _O_BINARY);
}
int statusOf(int fd, FileStatus& status) {
    return _fstat64(fd, &status);
}
int readSome(int fd, char* buffer, std::size_t size) {
    return _read(fd, buffer, static_cast<unsigned>(size));
}
int closeFile(int fd) {
    return _close(fd);
}
#else
using FileStatus = struct stat;
int openForReading(const std::filesystem::path& file) {
    // Not blocking: opening a FIFO without a writer would wait forever before fstat could refuse
    // it.
    return ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}
int statusOf(int fd, FileStatus& status) {
    return ::fstat(fd, &status);
}
ssize_t readSome(int fd, char* buffer, std::size_t size) {
    return ::read(fd, buffer, size);
}
int closeFile(int fd) {
    return ::close(fd);
}
#endif

class OpenFile {
public:
    explicit OpenFile(int fd)
        : fd_(fd) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { closeFile(fd_); }
    int fd() const { return fd_; }

private:
    int fd_;
};

// What stands at the path instead of a regular file, for the message.
std::string notRegularReason(unsigned mode) {
    switch (mode & S_IFMT) {
    case S_IFDIR:
        return std::strerror(EISDIR);
    case S_IFCHR:
        return "it is a character device, not a regular file";
#ifdef S_IFIFO
    case S_IFIFO:
        return "it is a FIFO, not a regular file";
#endif
#ifdef S_IFSOCK
    case S_IFSOCK:
        return "it is a socket, not a regular file";
#endif
#ifdef S_IFBLK
    case S_IFBLK:
        return "it is a block device, not a regular file";
#endif
    default:
        return "it is not a regular file";
    }
}

std::string sizeText(std::size_t bytes) {
    constexpr std::size_t mb = 1024 * 1024;
    return bytes % mb == 0 ? std::to_string(bytes / mb) + " MB" : std::to_string(bytes) + " bytes";
}

// The whole file; nullopt only where `absentIsNull` allows it and the file is missing or not
// readable by this user.
template <typename Container>
std::optional<Container> readBounded(const std::filesystem::path& file, std::size_t limit,
                                     std::string_view what, bool absentIsNull) {
    const auto fail = [&](const std::string& reason) -> FileError {
        return FileError("Reading " + std::string(what) + file.string() + " failed: " + reason);
    };
    const int fd = openForReading(file);
    if (fd < 0) {
        const int error = errno;
        if (absentIsNull &&
            (error == ENOENT || error == ENOTDIR || error == EACCES || error == EPERM))
            return std::nullopt;
        throw fail(std::strerror(error));
    }
    const OpenFile open(fd);
    FileStatus status{};
    if (statusOf(fd, status) != 0)
        throw fail(std::strerror(errno));
    if ((status.st_mode & S_IFMT) != S_IFREG)
        throw fail(notRegularReason(static_cast<unsigned>(status.st_mode)));
    // /proc and /sys report no size, so the file is read until its end or one byte past the limit.
    Container data;
    char buffer[65536];
    while (true) {
        const auto got = readSome(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw fail(std::strerror(errno));
        }
        if (got == 0)
            return data;
        if (data.size() + static_cast<std::size_t>(got) > limit)
            throw fail("it is larger than " + sizeText(limit) + ", the limit for such a file");
        data.insert(data.end(), buffer, buffer + got);
    }
}

} // namespace

std::optional<std::string> readTextFileIfPresent(const std::filesystem::path& file) {
    return readBounded<std::string>(file, machineFileLimit, "", true);
}

std::optional<std::vector<std::uint8_t>>
readBinaryFileIfPresent(const std::filesystem::path& file) {
    return readBounded<std::vector<std::uint8_t>>(file, machineFileLimit, "", true);
}

std::string readUserFile(const std::filesystem::path& file, std::size_t limit,
                         std::string_view what) {
    return *readBounded<std::string>(file, limit, what, false);
}

} // namespace quorvin::files
