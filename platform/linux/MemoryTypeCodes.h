#pragma once

#include <cstdint>

namespace quorvin::linux_hw {

// The Win32_PhysicalMemory MemoryType number for an SMBIOS type 17 "Memory Type" byte.
std::uint16_t wmiMemoryType(std::uint8_t smbiosCode);

} // namespace quorvin::linux_hw
