#pragma once

#include "ProcFacts.h"
#include "SmbiosFindings.h"
#include "SmbiosSource.h"
#include "platform/snapshot/Snapshot.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace quorvin::linux_hw {

// Where the machine's description is read from; tests point these at trees of their own.
struct LinuxRoots {
    std::filesystem::path dmiTables = "/sys/firmware/dmi/tables";
    std::filesystem::path proc = "/proc";
    std::filesystem::path sys = "/sys";
    std::string machine = hostMachine();
};

// The seven classes from SMBIOS findings and kernel facts. Win32_ComputerSystem always has one
// instance; Win32_Processor has one per package the kernel lists (at least one per populated
// SMBIOS socket), its external clock taken from the socket of the same position; the other
// classes have the instances SMBIOS gives, none without it.
snapshot::Snapshot buildLinuxSnapshot(const SmbiosFindings& smbios, const ProcFacts& proc);

// The live machine: SMBIOS from the kernel's tables when they are readable, else none.
snapshot::Snapshot readLinuxSnapshot(const LinuxRoots& roots = {});
// A dump file's SMBIOS table with the kernel facts of this machine. Throws SmbiosError.
snapshot::Snapshot readLinuxSnapshot(const LinuxRoots& roots,
                                     const std::filesystem::path& smbiosDump);

std::unique_ptr<snapshot::SnapshotProvider> makeLinuxProvider(const LinuxRoots& roots = {});

} // namespace quorvin::linux_hw
