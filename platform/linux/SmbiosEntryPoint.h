#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace quorvin::linux_hw {

// Where an SMBIOS entry point says the structure table lies. The 32-bit entry points ("_SM_"
// with its "_DMI_" part, or a bare legacy "_DMI_") give an exact length and a structure count;
// the 64-bit one ("_SM3_") gives only the table's maximum size and no count.
struct EntryPoint {
    int majorVersion = 0;
    int minorVersion = 0;
    std::uint64_t tableAddress = 0;
    std::uint32_t tableLength = 0;
    std::optional<std::uint32_t> structureCount;
};

// Reads the entry point at the start of the buffer; nullopt when no known anchor is there or the
// buffer is too short for the entry point it announces. Checksums are not enforced: the kernel
// and dmidecode hand the bytes on as the firmware wrote them, and a bad sum is no reason to
// refuse an otherwise readable table.
std::optional<EntryPoint> parseEntryPoint(std::span<const std::uint8_t> bytes);

} // namespace quorvin::linux_hw
