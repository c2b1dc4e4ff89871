#pragma once

#include <cstddef>
#include <cstdint>

// Where the fields the scan reads sit in each structure's formatted area (offsets from the start
// of the structure, header included), and the values that give them their meaning. One namespace
// per structure type, headed by its DSP0134 section as numbered in version 3.0.0; sections 7.1 to
// 7.18 keep their numbers in every later version. The decoder reads these fields and the tests'
// table builder writes them.
namespace quorvin::linux_hw::smbios {

// 7.1 BIOS Information (type 0)
namespace type0 {
inline constexpr std::uint8_t type = 0;
inline constexpr std::size_t vendor = 0x04, version = 0x05;
} // namespace type0

// 7.2 System Information (type 1)
namespace type1 {
inline constexpr std::uint8_t type = 1;
inline constexpr std::size_t manufacturer = 0x04, productName = 0x05, version = 0x06,
                             serialNumber = 0x07;
} // namespace type1

// 7.3 Baseboard (or Module) Information (type 2)
namespace type2 {
inline constexpr std::uint8_t type = 2;
inline constexpr std::size_t manufacturer = 0x04, product = 0x05;
} // namespace type2

// 7.5 Processor Information (type 4)
namespace type4 {
inline constexpr std::uint8_t type = 4;
inline constexpr std::size_t externalClock = 0x12, status = 0x18;
// Status bit 6: a processor sits in the socket.
inline constexpr std::uint8_t socketPopulated = 0x40;
} // namespace type4

// 7.17 Physical Memory Array (type 16)
namespace type16 {
inline constexpr std::uint8_t type = 16;
inline constexpr std::size_t use = 0x05, maximumCapacity = 0x07, numberOfDevices = 0x0D,
                             extendedMaximumCapacity = 0x0F;
inline constexpr std::uint8_t useSystemMemory = 0x03;
// Maximum capacity (KB) that says "too large, see the extended maximum capacity (bytes)".
inline constexpr std::uint32_t capacityInExtendedField = 0x80000000u;
} // namespace type16

// 7.18 Memory Device (type 17)
namespace type17 {
inline constexpr std::uint8_t type = 17;
inline constexpr std::size_t size = 0x0C, deviceLocator = 0x10, memoryType = 0x12, speed = 0x15,
                             extendedSize = 0x1C, extendedSpeed = 0x54;
// Size: 0 is an empty socket, 0xFFFF unknown; bit 15 set counts the low 15 bits in KB instead of
// MB; 0x7FFF, too large for those 15 bits, says "see the extended size (MB)".
inline constexpr std::uint16_t sizeUnknown = 0xFFFF, sizeInKilobytes = 0x8000,
                               sizeValueMask = 0x7FFF, sizeInExtendedField = 0x7FFF;
// Speed (MT/s) 0xFFFF says "see the extended speed".
inline constexpr std::uint16_t speedInExtendedField = 0xFFFF;
// The extended size and speed keep bit 31 reserved.
inline constexpr std::uint32_t extendedValueMask = 0x7FFFFFFFu;
} // namespace type17

// 7.45 End-of-Table (type 127)
namespace type127 {
inline constexpr std::uint8_t type = 127;
} // namespace type127

} // namespace quorvin::linux_hw::smbios
