#pragma once

#include "platform/snapshot/Snapshot.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The machine's description in the files every user may read: the kernel's dmi/id attributes,
// systemd's udev memory database and /proc with /sys. Each reader says what its files hold;
// LinuxSnapshot chooses between them and the tables.
namespace quorvin::linux_hw {

// The kernel publishes the SMBIOS strings it knows as files in /sys/class/dmi/id, readable by
// everyone except the serial numbers (root only).
//
// One attribute file's value: nullopt when the file cannot be read (absent, or root only), null
// when it is empty, else its text without the line feed the kernel ends it with. Blanks the
// firmware left at the end stay, as in the tables.
std::optional<ScanValue> readDmiIdAttribute(const std::filesystem::path& dmiIdDir,
                                            std::string_view attribute);

// An instance for each class of the scan's dmi/id attributes that has at least one readable file,
// properties in the order the attributes are listed (an unreadable file gives null).
struct DmiIdInstances {
    std::vector<std::pair<std::string_view, snapshot::Instance>> byClass;
    // nullptr when none of the class's files could be read.
    const snapshot::Instance* find(std::string_view wmiClass) const;
};
DmiIdInstances readDmiIdInstances(const std::filesystem::path& dmiIdDir);

// At boot systemd's udev rules run dmi_memory_id on the dmi/id device and keep what the tables
// say about the memory in that device's database entry (run/udev/data/+dmi:id), which everyone
// may read: lines "E:MEMORY_ARRAY_MAX_CAPACITY=...", "E:MEMORY_DEVICE_0_SIZE=..." and so on.
//
// systemd counts in MEMORY_ARRAY_NUM_DEVICES every memory device of the table, and with several
// memory arrays each one's maximum overwrites the one before. So this source gives one array
// whatever the table holds: the last array's maximum capacity and the sockets of all arrays
// together, where the tables give one instance per system-memory array.
struct UdevMemoryFacts {
    std::optional<snapshot::Instance> memoryArray; // MaxCapacity (KB), MemoryDevices
    // One instance per populated socket, in device-number order: capacity (bytes, decimal text),
    // memorytype (WMI code), speed (MT/s), devicelocator.
    std::vector<snapshot::Instance> memoryDevices;
};

// Reads the entry's E: lines; other and malformed lines are passed over, values systemd writes
// for "unknown" ("Not Specified", a speed of 0 or 65535) and values that do not parse are null.
UdevMemoryFacts parseUdevMemoryEntry(std::string_view entry);

// nullopt when the file cannot be read (no systemd, an older one, or no tables at boot).
std::optional<UdevMemoryFacts> readUdevMemoryEntry(const std::filesystem::path& entryFile);

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
