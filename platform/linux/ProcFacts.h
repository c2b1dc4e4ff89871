#pragma once

#include "scan/values/ScanValue.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin::linux_hw {

// One physical processor package as the kernel describes it.
struct ProcessorPackage {
    ScanValue name = ScanValue::null();         // "model name"
    ScanValue manufacturer = ScanValue::null(); // "vendor_id", e.g. GenuineIntel
    ScanValue currentClockMHz = ScanValue::null();
};

// What the kernel says that SMBIOS does not.
struct ProcFacts {
    ScanValue totalPhysicalMemory = ScanValue::null(); // bytes, decimal text
    ScanValue systemType = ScanValue::null();
    std::vector<ProcessorPackage> packages;
};

// One logical processor's lines of /proc/cpuinfo.
struct LogicalCpu {
    int processor = -1;
    std::optional<int> physicalId;
    std::optional<std::string> modelName; // nullopt when missing or blank
    std::optional<std::string> vendorId;
    std::optional<double> mhz;
};

// "MemTotal:  16318480 kB" as bytes; nullopt when the line is missing or unreadable.
std::optional<std::uint64_t> parseMemTotal(std::string_view meminfo);
std::vector<LogicalCpu> parseCpuInfo(std::string_view cpuinfo);
// Windows' wording for the machine type uname reports ("x86_64" -> "x64-based PC").
ScanValue systemTypeFor(std::string_view machine);
// The first logical processor of each physical package, in order of appearance. A processor
// without a package id joins package 0, as on single-socket machines whose kernel omits it.
std::vector<ProcessorPackage> groupPackages(const std::vector<LogicalCpu>& cpus,
                                            const std::filesystem::path& sysRoot);

// The machine's own uname machine field.
std::string hostMachine();

// Reads meminfo and cpuinfo under procRoot and cpufreq/topology under sysRoot. Files that are
// missing or unreadable leave their values null.
ProcFacts readProcFacts(const std::filesystem::path& procRoot, const std::filesystem::path& sysRoot,
                        std::string_view machine);

} // namespace quorvin::linux_hw
