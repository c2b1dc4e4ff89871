#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace quorvin::testing {

using Bytes = std::vector<std::uint8_t>;

// One SMBIOS structure, written field by field after its 4-byte header; the length byte is set
// to the formatted area written so far, and the strings follow with their double-NUL end. Fields
// the scan reads are placed with at() at their offsets from platform/linux/Smbios.h.
class StructureBuilder {
public:
    StructureBuilder(std::uint8_t type, std::uint16_t handle);

    StructureBuilder& byte(std::uint8_t v);
    StructureBuilder& word(std::uint16_t v);
    StructureBuilder& dword(std::uint32_t v);
    StructureBuilder& qword(std::uint64_t v);
    // Adds the text to the string area and writes its 1-based index; nullopt writes 0 (unset).
    StructureBuilder& string(const std::optional<std::string>& text);
    // Pads the formatted area with zeros up to the offset.
    StructureBuilder& padTo(std::size_t offset);
    // As padTo, for the field that goes next: the fields written so far must end at or before
    // the offset, otherwise std::logic_error.
    StructureBuilder& at(std::size_t offset);

    Bytes build() const;

private:
    Bytes formatted_;
    std::vector<std::string> strings_;
};

// Memory device (type 17) fields; the structure is written up to `length` bytes, so the 2.x
// forms (0x15, 0x1B, 0x22) and the 3.3 form (0x5C) with extended speeds can all be made.
struct MemoryDevice {
    std::uint16_t size = 0x2000; // MB unless bit 15
    std::uint32_t extendedSize = 0;
    std::uint8_t memoryType = 0x18;
    std::uint16_t speed = 1600;
    std::uint32_t extendedSpeed = 0;
    std::optional<std::string> locator = "DIMM0";
    std::size_t length = 0x5C;
};

struct MemoryArray {
    std::uint32_t maxCapacityKB = 0x02000000;
    std::uint64_t extendedMaxBytes = 0;
    std::uint16_t devices = 4;
    std::uint8_t use = 0x03; // system memory
};

Bytes biosStructure(const std::optional<std::string>& vendor,
                    const std::optional<std::string>& version);
Bytes systemStructure(const std::optional<std::string>& maker,
                      const std::optional<std::string>& product,
                      const std::optional<std::string>& version,
                      const std::optional<std::string>& serial);
Bytes baseboardStructure(const std::optional<std::string>& maker,
                         const std::optional<std::string>& product);
Bytes processorStructure(std::uint16_t externalClock, bool populated);
Bytes memoryArrayStructure(const MemoryArray& array);
Bytes memoryDeviceStructure(const MemoryDevice& device);
Bytes endOfTable();

Bytes concat(std::initializer_list<Bytes> parts);

// Entry points as firmware writes them, with valid checksums.
Bytes entryPoint2(std::uint16_t tableLength, std::uint16_t structureCount,
                  std::uint32_t tableAddress, int major = 2, int minor = 8);
Bytes entryPoint3(std::uint32_t tableMaxSize, std::uint64_t tableAddress, int major = 3,
                  int minor = 3);
// The "dmidecode --dump-bin" layout: the entry point padded to 0x20 and the table after it.
Bytes dumpFile2(const Bytes& table, std::uint16_t structureCount);
Bytes dumpFile3(const Bytes& table);

// A desktop with two populated and two empty DDR4 sockets, the usual companion structures, and
// the structures a real table carries that the scan ignores.
Bytes realisticTable(std::uint16_t* structureCount = nullptr);

// A two-socket server's table, in size and mix like a real one (about 170 structures): caches,
// ports, slots, sixteen memory sockets of which half are filled, address mappings.
Bytes serverTable(std::uint16_t* structureCount = nullptr);

} // namespace quorvin::testing
