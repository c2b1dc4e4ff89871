#include "Smbios.h"

#include "scan/values/ScanValue.h"

#include <array>

namespace quorvin::linux_hw {

namespace {

struct MemoryType {
    std::uint8_t smbiosCode;
    std::string_view name; // the SMBIOS name of the code, as systemd writes it
    std::uint16_t wmiCode;
};

// SMBIOS type 17 memory types and the Win32_PhysicalMemory MemoryType of each. The two
// numberings share names but not numbers (SMBIOS counts "Other" as 1 and "Unknown" as 2, WMI the
// other way round, and WMI has entries SMBIOS lacks). WMI's MemoryType stops at FBD2; Windows
// reports 0 (Unknown) for DDR4, LPDDR*, HBM*, DDR5 and every later or reserved code, and so does
// this table. Both the table decoder and the udev database reader go through it.
constexpr std::array<MemoryType, 33> memoryTypes{{
    {0x01, "Other", 1},   {0x02, "Unknown", 0},
    {0x03, "DRAM", 2},    {0x04, "EDRAM", 6},
    {0x05, "VRAM", 7},    {0x06, "SRAM", 8},
    {0x07, "RAM", 9},     {0x08, "ROM", 10},
    {0x09, "Flash", 11},  {0x0A, "EEPROM", 12},
    {0x0B, "FEPROM", 13}, {0x0C, "EPROM", 14},
    {0x0D, "CDRAM", 15},  {0x0E, "3DRAM", 16},
    {0x0F, "SDRAM", 17},  {0x10, "SGRAM", 18},
    {0x11, "RDRAM", 19},  {0x12, "DDR", 20},
    {0x13, "DDR2", 21},   {0x14, "DDR2 FB-DIMM", 22},
    {0x18, "DDR3", 24},   {0x19, "FBD2", 25},
    {0x1A, "DDR4", 0},    {0x1B, "LPDDR", 0},
    {0x1C, "LPDDR2", 0},  {0x1D, "LPDDR3", 0},
    {0x1E, "LPDDR4", 0},  {0x1F, "Logical non-volatile device", 0},
    {0x20, "HBM", 0},     {0x21, "HBM2", 0},
    {0x22, "DDR5", 0},    {0x23, "LPDDR5", 0},
    {0x24, "HBM3", 0},
}};

} // namespace

std::uint16_t wmiMemoryType(std::uint8_t smbiosCode) {
    for (const MemoryType& type : memoryTypes)
        if (type.smbiosCode == smbiosCode)
            return type.wmiCode;
    return 0;
}

std::optional<std::uint16_t> wmiMemoryTypeForName(std::string_view smbiosName) {
    for (const MemoryType& type : memoryTypes)
        if (equalsIgnoreCase(type.name, smbiosName))
            return type.wmiCode;
    return std::nullopt;
}

} // namespace quorvin::linux_hw
