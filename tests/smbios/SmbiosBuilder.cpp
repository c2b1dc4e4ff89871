#include "SmbiosBuilder.h"

#include "platform/linux/Smbios.h"

#include <cstring>
#include <stdexcept>

namespace quorvin::testing {

using namespace linux_hw::smbios;

namespace {

void putLe(Bytes& out, std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void putAnchor(Bytes& out, const char* anchor) {
    out.insert(out.end(), anchor, anchor + std::strlen(anchor));
}

// Makes bytes [from, from+length) sum to zero through the checksum byte at `at`.
void fixChecksum(Bytes& out, std::size_t from, std::size_t length, std::size_t at) {
    out[at] = 0;
    std::uint8_t sum = 0;
    for (std::size_t i = from; i < from + length; ++i)
        sum = static_cast<std::uint8_t>(sum + out[i]);
    out[at] = static_cast<std::uint8_t>(-sum);
}

} // namespace

StructureBuilder::StructureBuilder(std::uint8_t type, std::uint16_t handle) {
    formatted_.push_back(type);
    formatted_.push_back(0);
    putLe(formatted_, handle, 2);
}

StructureBuilder& StructureBuilder::byte(std::uint8_t v) {
    formatted_.push_back(v);
    return *this;
}
StructureBuilder& StructureBuilder::word(std::uint16_t v) {
    putLe(formatted_, v, 2);
    return *this;
}
StructureBuilder& StructureBuilder::dword(std::uint32_t v) {
    putLe(formatted_, v, 4);
    return *this;
}
StructureBuilder& StructureBuilder::qword(std::uint64_t v) {
    putLe(formatted_, v, 8);
    return *this;
}
StructureBuilder& StructureBuilder::string(const std::optional<std::string>& text) {
    if (!text)
        return byte(0);
    strings_.push_back(*text);
    return byte(static_cast<std::uint8_t>(strings_.size()));
}
StructureBuilder& StructureBuilder::padTo(std::size_t offset) {
    if (formatted_.size() < offset)
        formatted_.resize(offset, 0);
    return *this;
}
StructureBuilder& StructureBuilder::at(std::size_t offset) {
    if (formatted_.size() > offset)
        throw std::logic_error("SMBIOS structure of type " + std::to_string(formatted_[0]) +
                               ": the fields before offset " + std::to_string(offset) +
                               " already fill " + std::to_string(formatted_.size()) + " bytes");
    return padTo(offset);
}

Bytes StructureBuilder::build() const {
    Bytes out = formatted_;
    out[1] = static_cast<std::uint8_t>(formatted_.size());
    for (const std::string& s : strings_) {
        out.insert(out.end(), s.begin(), s.end());
        out.push_back(0);
    }
    if (strings_.empty())
        out.push_back(0);
    out.push_back(0);
    return out;
}

Bytes biosStructure(const std::optional<std::string>& vendor,
                    const std::optional<std::string>& version) {
    return StructureBuilder(type0::type, 0x0000)
        .at(type0::vendor)
        .string(vendor)
        .at(type0::version)
        .string(version)
        .word(0xF000)         // starting address segment
        .string("01/15/2024") // release date
        .byte(0xFF)           // ROM size
        .qword(0x0B9DD880)    // characteristics
        .padTo(0x18)
        .build();
}

Bytes systemStructure(const std::optional<std::string>& maker,
                      const std::optional<std::string>& product,
                      const std::optional<std::string>& version,
                      const std::optional<std::string>& serial) {
    StructureBuilder b(type1::type, 0x0001);
    b.at(type1::manufacturer)
        .string(maker)
        .at(type1::productName)
        .string(product)
        .at(type1::version)
        .string(version)
        .at(type1::serialNumber)
        .string(serial);
    for (int i = 0; i < 16; ++i)
        b.byte(static_cast<std::uint8_t>(0x10 + i)); // UUID
    return b.byte(0x06).string("SKU-1").string("Desktop").build();
}

Bytes baseboardStructure(const std::optional<std::string>& maker,
                         const std::optional<std::string>& product) {
    return StructureBuilder(type2::type, 0x0002)
        .at(type2::manufacturer)
        .string(maker)
        .at(type2::product)
        .string(product)
        .string("Rev 1.02")       // version
        .string("BSN12345")       // serial number
        .string(std::nullopt)     // asset tag
        .byte(0x09)               // features: replaceable hosting board
        .string("Default string") // location in chassis
        .word(0x0003)             // chassis handle
        .byte(0x0A)               // board type: motherboard
        .byte(0)                  // no contained objects
        .build();
}

Bytes processorStructure(std::uint16_t externalClock, bool populated) {
    return StructureBuilder(type4::type, 0x0040)
        .string("CPU0") // socket designation
        .byte(0x03)     // central processor
        .byte(0xC6)     // family
        .string("Intel(R) Corporation")
        .qword(0xBFEBFBFF000906EA) // processor id
        .string("Intel(R) Core(TM) i7-9700 CPU @ 3.00GHz")
        .byte(0x8A) // voltage
        .at(type4::externalClock)
        .word(externalClock)
        .word(4700) // max speed
        .word(3000) // current speed
        .at(type4::status)
        .byte(populated ? type4::socketPopulated | 0x01 : 0x00) // populated, CPU enabled
        .byte(0x01)                                             // upgrade: other
        .padTo(0x30)
        .build();
}

Bytes memoryArrayStructure(const MemoryArray& a) {
    return StructureBuilder(type16::type, 0x1000)
        .byte(0x03) // location: system board
        .at(type16::use)
        .byte(a.use)
        .byte(0x03) // no ECC
        .at(type16::maximumCapacity)
        .dword(a.maxCapacityKB)
        .word(0xFFFE) // no error information
        .at(type16::numberOfDevices)
        .word(a.devices)
        .at(type16::extendedMaximumCapacity)
        .qword(a.extendedMaxBytes)
        .build();
}

Bytes memoryDeviceStructure(const MemoryDevice& d) {
    StructureBuilder b(type17::type, 0x1100);
    b.word(0x1000)    // array handle
        .word(0xFFFE) // error handle
        .word(64)     // total width
        .word(64)     // data width
        .at(type17::size)
        .word(d.size)
        .byte(0x09) // form factor: DIMM
        .byte(0)    // set
        .at(type17::deviceLocator)
        .string(d.locator)
        .string("BANK 0") // bank locator
        .at(type17::memoryType)
        .byte(d.memoryType)
        .word(0x0080) // type detail: synchronous
        .at(type17::speed)
        .word(d.speed)
        .string("Kingston")      // manufacturer
        .string("0F1E2D3C")      // serial number
        .string(std::nullopt)    // asset tag
        .string("KHX2400C15/8G") // part number
        .byte(0x02)              // attributes: rank 2
        .at(type17::extendedSize)
        .dword(d.extendedSize)
        .word(d.speed) // configured speed
        .at(type17::extendedSpeed)
        .dword(d.extendedSpeed)
        .dword(d.extendedSpeed); // extended configured speed
    Bytes out = b.build();
    // Cut the formatted area to the requested version's length and keep the strings.
    if (d.length < out[1]) {
        const std::size_t full = out[1];
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(d.length),
                  out.begin() + static_cast<std::ptrdiff_t>(full));
        out[1] = static_cast<std::uint8_t>(d.length);
    }
    return out;
}

Bytes endOfTable() {
    return StructureBuilder(type127::type, 0xFEFF).build();
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes entryPoint2(std::uint16_t tableLength, std::uint16_t structureCount,
                  std::uint32_t tableAddress, int major, int minor) {
    Bytes ep;
    putAnchor(ep, "_SM_");
    ep.push_back(0);    // checksum
    ep.push_back(0x1F); // length
    ep.push_back(static_cast<std::uint8_t>(major));
    ep.push_back(static_cast<std::uint8_t>(minor));
    putLe(ep, 0x100, 2); // max structure size
    ep.push_back(0);     // revision
    ep.resize(0x10, 0);
    putAnchor(ep, "_DMI_");
    ep.push_back(0);
    putLe(ep, tableLength, 2);
    putLe(ep, tableAddress, 4);
    putLe(ep, structureCount, 2);
    ep.push_back(static_cast<std::uint8_t>((major << 4) | minor));
    fixChecksum(ep, 0x10, 0x0F, 0x15);
    fixChecksum(ep, 0, 0x1F, 0x04);
    return ep;
}

Bytes entryPoint3(std::uint32_t tableMaxSize, std::uint64_t tableAddress, int major, int minor) {
    Bytes ep;
    putAnchor(ep, "_SM3_");
    ep.push_back(0);
    ep.push_back(0x18);
    ep.push_back(static_cast<std::uint8_t>(major));
    ep.push_back(static_cast<std::uint8_t>(minor));
    ep.push_back(0); // docrev
    ep.push_back(1); // entry point revision
    ep.push_back(0);
    putLe(ep, tableMaxSize, 4);
    putLe(ep, tableAddress, 8);
    fixChecksum(ep, 0, 0x18, 0x05);
    return ep;
}

Bytes dumpFile2(const Bytes& table, std::uint16_t structureCount) {
    Bytes out = entryPoint2(static_cast<std::uint16_t>(table.size()), structureCount, 0x20);
    out.resize(0x20, 0);
    out.insert(out.end(), table.begin(), table.end());
    return out;
}

Bytes dumpFile3(const Bytes& table) {
    Bytes out = entryPoint3(static_cast<std::uint32_t>(table.size()), 0x20);
    out.resize(0x20, 0);
    out.insert(out.end(), table.begin(), table.end());
    return out;
}

Bytes realisticTable(std::uint16_t* structureCount) {
    const Bytes oemStrings =
        StructureBuilder(11, 0x0B00).byte(2).string("OEM one").string("OEM two").build();
    const Bytes portConnector = StructureBuilder(8, 0x0800)
                                    .string("J1A1")
                                    .byte(0x0F)
                                    .string("PS2Mouse")
                                    .byte(0x0F)
                                    .byte(0x0E)
                                    .build();
    MemoryDevice dimm0, dimm1, empty2, empty3;
    dimm0.size = 0x2000;
    dimm0.memoryType = 0x1A;
    dimm0.speed = 2400;
    dimm0.locator = "ChannelA-DIMM0";
    dimm1 = dimm0;
    dimm1.locator = "ChannelB-DIMM0";
    empty2.size = 0;
    empty2.speed = 0;
    empty2.memoryType = 0x02;
    empty2.locator = "ChannelA-DIMM1";
    empty3 = empty2;
    empty3.locator = "ChannelB-DIMM1";
    const std::vector<Bytes> parts{
        biosStructure("American Megatrends Inc.", "F12"),
        systemStructure("Gigabyte Technology Co., Ltd.", "Z390 AORUS PRO", "Default string",
                        "Default string"),
        baseboardStructure("Gigabyte Technology Co., Ltd.", "Z390 AORUS PRO-CF"),
        portConnector,
        portConnector,
        oemStrings,
        processorStructure(100, true),
        memoryArrayStructure(MemoryArray{}),
        memoryDeviceStructure(dimm0),
        memoryDeviceStructure(empty2),
        memoryDeviceStructure(dimm1),
        memoryDeviceStructure(empty3),
        endOfTable(),
    };
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    if (structureCount)
        *structureCount = static_cast<std::uint16_t>(parts.size());
    return out;
}

Bytes serverTable(std::uint16_t* structureCount) {
    std::vector<Bytes> parts{
        biosStructure("Dell Inc.", "2.19.1"),
        systemStructure("Dell Inc.", "PowerEdge R740", "Not Specified", "7XK2Q53"),
        baseboardStructure("Dell Inc.", "0YWR7D"),
    };
    for (std::uint16_t socket = 0; socket < 2; ++socket) {
        for (std::uint16_t level = 1; level <= 3; ++level)
            parts.push_back(
                StructureBuilder(7, static_cast<std::uint16_t>(0x0700 + socket * 4 + level))
                    .string("L" + std::to_string(level) + " Cache")
                    .word(static_cast<std::uint16_t>(0x0180 + level - 1))
                    .word(0x0400)
                    .word(0x0400)
                    .word(0x0002)
                    .word(0x0002)
                    .byte(0)
                    .byte(0x05)
                    .byte(0x03)
                    .byte(0x07)
                    .build());
        parts.push_back(processorStructure(100, true));
    }
    for (int port = 0; port < 24; ++port)
        parts.push_back(StructureBuilder(8, static_cast<std::uint16_t>(0x0800 + port))
                            .string("Internal Connector " + std::to_string(port))
                            .byte(0)
                            .string("USB " + std::to_string(port))
                            .byte(0x12)
                            .byte(0x10)
                            .build());
    for (int slot = 0; slot < 12; ++slot)
        parts.push_back(StructureBuilder(9, static_cast<std::uint16_t>(0x0900 + slot))
                            .string("PCIe Slot " + std::to_string(slot + 1))
                            .byte(0xB6)
                            .byte(0x0D)
                            .byte(0x04)
                            .byte(0x04)
                            .word(static_cast<std::uint16_t>(slot + 1))
                            .byte(0x04)
                            .byte(0x01)
                            .padTo(0x11)
                            .build());
    parts.push_back(StructureBuilder(11, 0x0B00)
                        .byte(4)
                        .string("Dell System")
                        .string("5[0000]")
                        .string("14[1]")
                        .string("17[BBE96A7D0C7F8A4C]")
                        .build());
    MemoryArray array;
    array.maxCapacityKB = type16::capacityInExtendedField;
    array.extendedMaxBytes = 3ull << 40;
    array.devices = 16;
    parts.push_back(memoryArrayStructure(array));
    for (int dimm = 0; dimm < 16; ++dimm) {
        MemoryDevice d;
        const bool filled = dimm % 2 == 0;
        d.size = filled ? type17::sizeInExtendedField : 0;
        d.extendedSize = filled ? 32768 : 0;
        d.memoryType = filled ? 0x1A : 0x02;
        d.speed = filled ? 2933 : 0;
        d.locator = std::string(dimm < 8 ? "A" : "B") + std::to_string(dimm % 8 + 1);
        parts.push_back(memoryDeviceStructure(d));
    }
    for (int map = 0; map < 100; ++map)
        parts.push_back(StructureBuilder(20, static_cast<std::uint16_t>(0x1400 + map))
                            .dword(static_cast<std::uint32_t>(map) * 0x800000u)
                            .dword(static_cast<std::uint32_t>(map + 1) * 0x800000u - 1)
                            .word(0x1100)
                            .word(0x1300)
                            .byte(1)
                            .byte(1)
                            .byte(2)
                            .build());
    parts.push_back(endOfTable());
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    if (structureCount)
        *structureCount = static_cast<std::uint16_t>(parts.size());
    return out;
}

} // namespace quorvin::testing
