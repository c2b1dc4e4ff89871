#pragma once

#include "Smbios.h"
#include "UnprivilegedSources.h"
#include "platform/snapshot/Snapshot.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace quorvin::linux_hw {

// Every file of the machine's description is read under one root folder: "/" for this machine,
// another machine's copied tree for tests and support staff.
struct LinuxMachine {
    std::filesystem::path root = "/";
    std::string machine = hostMachine(); // uname's machine field

    std::filesystem::path dmiTables() const { return root / "sys/firmware/dmi/tables"; }
    std::filesystem::path dmiId() const { return root / "sys/class/dmi/id"; }
    std::filesystem::path udevDmiEntry() const { return root / "run/udev/data/+dmi:id"; }
    std::filesystem::path proc() const { return root / "proc"; }
    std::filesystem::path sys() const { return root / "sys"; }
};

// The names wmi-dump gives the sources.
inline constexpr std::string_view smbiosSource = "SMBIOS tables";
inline constexpr std::string_view dmiIdSource = "dmi/id";
inline constexpr std::string_view udevSource = "udev memory database";
inline constexpr std::string_view procSource = "/proc";

// What each source says, before the choice between them. The tables are readable by root only;
// dmi/id and udev's database carry much of the same for everyone.
struct MachineFacts {
    std::optional<SmbiosFindings> smbios; // nullopt: no readable tables
    DmiIdInstances dmiId;
    std::optional<UdevMemoryFacts> udevMemory;
    ProcFacts proc;
};

struct LinuxReading {
    snapshot::Snapshot snapshot;
    snapshot::SourceNotes sources;
};

// The seven classes, each field from the first source that answers it: the tables, then dmi/id
// (the system, product, board and BIOS strings) and udev's database (memory array and modules),
// then /proc and /sys (memory total, system type, processors). A class no source answers has no
// instance, except Win32_ComputerSystem, which always has one. Win32_Processor has one instance
// per package the kernel lists (at least one per populated SMBIOS socket), its external clock
// taken from the socket of the same position; only the tables know that clock.
LinuxReading buildLinuxReading(const MachineFacts& facts);

MachineFacts readMachineFacts(const LinuxMachine& machine);

// The machine under the root, from whatever its files let this user read.
LinuxReading readLinuxMachine(const LinuxMachine& machine = {});
// A dump file's SMBIOS table with the kernel facts under the root (and nothing else, so that two
// machines' strings never mix). Throws files::FileError when the file cannot be read, SmbiosError
// when it holds no table.
LinuxReading readLinuxMachine(const LinuxMachine& machine, const std::filesystem::path& smbiosDump);

std::unique_ptr<snapshot::SnapshotProvider> makeLinuxProvider(const LinuxMachine& machine = {});

} // namespace quorvin::linux_hw
