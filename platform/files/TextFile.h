#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin::files {

// Every file is read whole, only when it is a regular file and only up to a bound, so a FIFO, a
// directory or a device such as /dev/zero ends the read at once with a clear message instead of
// blocking or filling memory. The message names the file and the system's reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most read of one of the machine's own files (/proc, /sys, the kernel's SMBIOS table): far
// more than any of them holds, even /proc/cpuinfo of a machine with a thousand processors.
inline constexpr std::size_t machineFileLimit = 4 * 1024 * 1024;
// The most read of files the user names: an SMBIOS dump (its table is at most a few hundred KB
// in practice) and a recorded machine (a few hundred KB; PowerShell's UTF-16 doubles it).
inline constexpr std::size_t smbiosDumpLimit = 4 * 1024 * 1024;
inline constexpr std::size_t recordingFileLimit = 64 * 1024 * 1024;

// One of the machine's own files, or nullopt when it is missing or this user may not read it
// (the kernel's files may be readable by root only, or absent on a machine without the feature).
// Throws FileError when it is not a regular file, fails to read or holds more than
// machineFileLimit bytes.
std::optional<std::string> readTextFileIfPresent(const std::filesystem::path& file);
std::optional<std::vector<std::uint8_t>> readBinaryFileIfPresent(const std::filesystem::path& file);

// Calls f(line) for each line of a machine file's text, without its line feed.
template <typename F> void forEachLine(std::string_view text, F&& f) {
    while (!text.empty()) {
        const auto eol = text.find('\n');
        f(text.substr(0, eol));
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
    }
}

// A file the user named. Throws FileError "Reading <what><file> failed: <reason>" when it cannot
// be opened, is not a regular file, fails to read or holds more than limit bytes.
std::string readUserFile(const std::filesystem::path& file, std::size_t limit,
                         std::string_view what);

} // namespace quorvin::files
