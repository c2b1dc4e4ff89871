#pragma once

#include "SmbiosEntryPoint.h"
#include "SmbiosStructure.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <vector>

namespace quorvin::linux_hw {

class SmbiosError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An entry point with the bytes of the table it describes.
struct SmbiosTable {
    EntryPoint entryPoint;
    std::vector<std::uint8_t> bytes;

    std::vector<SmbiosStructure> structures() const;
};

// The kernel's copy: "smbios_entry_point" and "DMI" in the given directory (normally
// /sys/firmware/dmi/tables). nullopt when either is missing, unreadable (root only) or carries
// no known entry point: such a machine simply has no SMBIOS answer.
std::optional<SmbiosTable> readKernelTables(const std::filesystem::path& dmiTablesDir);

// A table split out of one buffer in the layout "dmidecode --dump-bin" writes: the entry point at
// offset 0 and the table at the offset the entry point's address field gives (0x20 in such a
// dump). A table running past the buffer is cut at its end. Throws SmbiosError when no entry
// point is at offset 0 or the table offset lies outside the buffer.
SmbiosTable splitDump(std::span<const std::uint8_t> dump);
// Reads a dump file of at most files::smbiosDumpLimit bytes; throws files::FileError when it cannot
// be read, SmbiosError naming the file when it cannot be parsed.
SmbiosTable loadDumpFile(const std::filesystem::path& file);

} // namespace quorvin::linux_hw
