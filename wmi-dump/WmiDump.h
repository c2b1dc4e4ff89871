#pragma once

#include "platform/snapshot/Snapshot.h"
#include "scan/values/ScanValue.h"
#include "scan/wmi/Wmi.h"

#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace quorvin::dump {

// wmi-dump's work: its command line, the scan classes as the backend answers them, their two
// printed forms, and the whole scan's report.

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

// Asks the provider, through the four WMI operations the scan uses, for every instance of each
// scan class and every property the scan reads from it, and keeps the answers as a recording:
// classes in query order, properties in reading order. WmiError passes through.
snapshot::Snapshot collectScanClasses(wmi::WmiProvider& provider);

// One JSON object, classes in query order: text (uint64 values included) as strings, integers
// and doubles as numbers, null as null.
std::string jsonText(const snapshot::Snapshot& answers);

// The same for a person: one block per class, one indented line per property; with notes, the
// heading of each class says which sources answered it, or that none did.
std::string readableText(const snapshot::Snapshot& answers,
                         const snapshot::SourceNotes* sources = nullptr);

// Runs the whole scan on a results window without a screen and returns its report text as built
// (CR LF line ends kept), followed by "Address: " and the store page address it navigated to.
std::string scanReport(wmi::WmiProvider& provider, const NumberFormat& format,
                       const std::string& storeHost, const std::string& storeScheme);

} // namespace quorvin::dump
