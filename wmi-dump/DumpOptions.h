#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace quorvin::dump {

// A command line the tool cannot act on; the message is one line for the user.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class OutputMode { Readable, Json, Report };

struct DumpOptions {
    OutputMode mode = OutputMode::Readable;
    std::optional<std::filesystem::path> smbiosFile;   // a "dmidecode --dump-bin" file
    std::optional<std::filesystem::path> snapshotFile; // recorded WMI instances (JSON)
    std::optional<std::filesystem::path> root;         // a Linux machine's tree instead of "/"
    bool help = false;
};

// Parses the arguments after the program name. Throws UsageError.
DumpOptions parseDumpOptions(std::span<const std::string> args);

const char* usageText();

} // namespace quorvin::dump
