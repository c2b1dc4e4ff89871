#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvin::linux_hw {

// The Win32_PhysicalMemory MemoryType number for an SMBIOS type 17 "Memory Type" byte.
std::uint16_t wmiMemoryType(std::uint8_t smbiosCode);

// The same number for the type's name as systemd's udev database writes it ("DDR3", "DDR4",
// "DDR2 FB-DIMM"; matched without regard to case); nullopt for a name no SMBIOS type has.
std::optional<std::uint16_t> wmiMemoryTypeForName(std::string_view smbiosName);

} // namespace quorvin::linux_hw
