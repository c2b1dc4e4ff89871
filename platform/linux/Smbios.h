#pragma once

#include "platform/snapshot/Snapshot.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

namespace quorvin::linux_hw {

// A firmware string as UTF-8 text. SMBIOS strings carry no encoding: most are ASCII, some UTF-8,
// and older firmware writes Windows-1252 ("Café" with 0xE9, "®" as 0xAE). One rule for every
// string: UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise (its five unassigned bytes
// become the control characters of the same value, as Windows maps them), so every value is valid
// UTF-8. The kernel's dmi/id files and udev's database pass the table's bytes on as they are.
std::string firmwareText(std::string_view bytes);

// The Win32_PhysicalMemory MemoryType number for an SMBIOS type 17 "Memory Type" byte.
std::uint16_t wmiMemoryType(std::uint8_t smbiosCode);
// The same number for the type's name as systemd's udev database writes it ("DDR3", "DDR4",
// "DDR2 FB-DIMM"; matched without regard to case); nullopt for a name no SMBIOS type has.
std::optional<std::uint16_t> wmiMemoryTypeForName(std::string_view smbiosName);

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

// One structure of the SMBIOS table: the formatted area (header included) and the strings that
// follow it. The views point into the table buffer, which must outlive the structure. Field reads
// past the formatted area give nullopt, so an older, shorter structure reads as "not given".
class SmbiosStructure {
public:
    SmbiosStructure(std::span<const std::uint8_t> formatted, std::vector<std::string_view> strings);

    std::uint8_t type() const { return formatted_[0]; }
    std::uint16_t handle() const;
    std::size_t length() const { return formatted_.size(); }

    std::optional<std::uint8_t> byte(std::size_t offset) const;
    std::optional<std::uint16_t> word(std::size_t offset) const;
    std::optional<std::uint32_t> dword(std::size_t offset) const;
    std::optional<std::uint64_t> qword(std::size_t offset) const;
    // The string whose 1-based index the byte at offset holds, as UTF-8 (firmwareText); nullopt
    // for index 0 (unset), an index past the last string, or a field outside the formatted area.
    std::optional<std::string> string(std::size_t offset) const;

private:
    std::span<const std::uint8_t> formatted_;
    std::vector<std::string_view> strings_;
};

// Walks the structure table. Stops at the end-of-table structure (type 127), after maxCount
// structures when the entry point gives a count, or at the first structure that does not fit:
// a header shorter than 4 bytes, a formatted area running past the buffer, or a string area
// without its double-NUL end. What was read before the fault is kept. Every step moves forward,
// so a damaged table can only end the walk early, never make it repeat.
std::vector<SmbiosStructure> parseStructures(std::span<const std::uint8_t> table,
                                             std::optional<std::uint32_t> maxCount = {});

// What the SMBIOS structures say for the scan's classes, as WMI would deliver it: one instance
// per type 0, 2 and 1 structure (for the BIOS, the board and the product), one per system
// memory array (type 16) and one per populated memory device (type 17). Processor and computer
// system instances also need the kernel's view, so only their SMBIOS parts are kept here.
struct SmbiosFindings {
    std::vector<snapshot::Instance> bios;
    std::vector<snapshot::Instance> baseboards;
    std::vector<snapshot::Instance> products;
    std::vector<snapshot::Instance> memoryArrays;
    std::vector<snapshot::Instance> memoryDevices;
    // From the first type 1 structure; null when there is none.
    ScanValue systemManufacturer = ScanValue::null();
    ScanValue systemModel = ScanValue::null();
    // The external clock (MHz) of each populated processor socket (type 4), in table order.
    std::vector<ScanValue> processorExternalClocks;
};

SmbiosFindings decodeFindings(std::span<const SmbiosStructure> structures);

// The single-structure decoders, for tests.
snapshot::Instance biosInstance(const SmbiosStructure& type0);
snapshot::Instance baseboardInstance(const SmbiosStructure& type2);
snapshot::Instance productInstance(const SmbiosStructure& type1);
snapshot::Instance memoryArrayInstance(const SmbiosStructure& type16);
// nullopt for an empty socket (size 0).
std::optional<snapshot::Instance> memoryDeviceInstance(const SmbiosStructure& type17);

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
