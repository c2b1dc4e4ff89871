#include "MemoryTypeCodes.h"

#include <array>
#include <utility>

namespace quorvin::linux_hw {

namespace {

// SMBIOS type 17 memory type code -> Win32_PhysicalMemory MemoryType.
// The two numberings share names but not numbers (SMBIOS counts "Other" as 1 and "Unknown" as
// 2, WMI the other way round, and WMI has entries SMBIOS lacks), so each code is listed:
//
//   SMBIOS            WMI        SMBIOS              WMI
//   0x01 Other          1        0x0D CDRAM           15
//   0x02 Unknown        0        0x0E 3DRAM           16
//   0x03 DRAM           2        0x0F SDRAM           17
//   0x04 EDRAM          6        0x10 SGRAM           18
//   0x05 VRAM           7        0x11 RDRAM           19
//   0x06 SRAM           8        0x12 DDR             20
//   0x07 RAM            9        0x13 DDR2            21
//   0x08 ROM           10        0x14 DDR2 FB-DIMM    22
//   0x09 Flash         11        0x18 DDR3            24
//   0x0A EEPROM        12        0x19 FBD2            25
//   0x0B FEPROM        13
//   0x0C EPROM         14
//
// WMI's MemoryType stops at FBD2; Windows reports 0 (Unknown) there for DDR4, LPDDR*, HBM*,
// DDR5 and every later or reserved code, and so does this table.
constexpr std::array<std::pair<std::uint8_t, std::uint16_t>, 22> codes{{
    {0x01, 1},  {0x02, 0},  {0x03, 2},  {0x04, 6},  {0x05, 7},  {0x06, 8},  {0x07, 9},  {0x08, 10},
    {0x09, 11}, {0x0A, 12}, {0x0B, 13}, {0x0C, 14}, {0x0D, 15}, {0x0E, 16}, {0x0F, 17}, {0x10, 18},
    {0x11, 19}, {0x12, 20}, {0x13, 21}, {0x14, 22}, {0x18, 24}, {0x19, 25},
}};

} // namespace

std::uint16_t wmiMemoryType(std::uint8_t smbiosCode) {
    for (const auto& [smbios, wmi] : codes)
        if (smbios == smbiosCode)
            return wmi;
    return 0;
}

} // namespace quorvin::linux_hw
