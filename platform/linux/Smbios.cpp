#include "Smbios.h"

#include "platform/files/TextFile.h"
#include "scan/values/ScanValue.h"

#include <algorithm>
#include <cstring>

namespace quorvin::linux_hw {

using namespace smbios;

namespace {

// Little-endian reads; the caller has checked that offset + width lies inside the buffer.
std::uint64_t readLe(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;)
        value = (value << 8) | bytes[offset + i];
    return value;
}
std::uint16_t readLe16(std::span<const std::uint8_t> b, std::size_t offset) {
    return static_cast<std::uint16_t>(readLe(b, offset, 2));
}
std::uint32_t readLe32(std::span<const std::uint8_t> b, std::size_t offset) {
    return static_cast<std::uint32_t>(readLe(b, offset, 4));
}
std::uint64_t readLe64(std::span<const std::uint8_t> b, std::size_t offset) {
    return readLe(b, offset, 8);
}

// Windows-1252 from 0x80 to 0x9F; the rest of its upper half is Latin-1.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

std::string firmwareText(std::string_view bytes) {
    if (isValidUtf8(bytes))
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        appendUtf8(text, b >= 0x80 && b < 0xA0 ? windows1252High[b - 0x80] : char32_t{b});
    }
    return text;
}

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, const char* anchor) {
    const std::size_t n = std::strlen(anchor);
    return bytes.size() >= n && std::memcmp(bytes.data(), anchor, n) == 0;
}

// Version 3.0 and later: 24 bytes, 64-bit table address, maximum table size.
std::optional<EntryPoint> parseSm3(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 0x18)
        return std::nullopt;
    EntryPoint ep;
    ep.majorVersion = bytes[0x07];
    ep.minorVersion = bytes[0x08];
    ep.tableLength = readLe32(bytes, 0x0C);
    ep.tableAddress = readLe64(bytes, 0x10);
    return ep;
}

// The "_DMI_" block, at offset 0 in a legacy entry point or at 0x10 inside "_SM_".
std::optional<EntryPoint> parseDmi(std::span<const std::uint8_t> bytes, int major, int minor) {
    if (bytes.size() < 0x0F || !startsWith(bytes, "_DMI_"))
        return std::nullopt;
    EntryPoint ep;
    ep.majorVersion = major;
    ep.minorVersion = minor;
    ep.tableLength = readLe16(bytes, 0x06);
    ep.tableAddress = readLe32(bytes, 0x08);
    ep.structureCount = readLe16(bytes, 0x0C);
    return ep;
}

} // namespace

std::optional<EntryPoint> parseEntryPoint(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, "_SM3_"))
        return parseSm3(bytes);
    if (startsWith(bytes, "_SM_")) {
        if (bytes.size() < 0x1F)
            return std::nullopt;
        return parseDmi(bytes.subspan(0x10), bytes[0x06], bytes[0x07]);
    }
    if (startsWith(bytes, "_DMI_")) {
        if (bytes.size() < 0x0F)
            return std::nullopt;
        const int bcd = bytes[0x0E];
        return parseDmi(bytes, bcd >> 4, bcd & 0x0F);
    }
    return std::nullopt;
}

namespace {

constexpr std::size_t headerLength = 4;

struct StringArea {
    std::vector<std::string_view> strings;
    std::size_t end = 0; // offset just past the double NUL
};

// The strings after a formatted area end with an extra NUL; a structure without strings has
// two NULs straight away.
std::optional<StringArea> readStrings(std::span<const std::uint8_t> table, std::size_t start) {
    StringArea area;
    std::size_t pos = start;
    if (pos + 1 < table.size() && table[pos] == 0 && table[pos + 1] == 0) {
        area.end = pos + 2;
        return area;
    }
    while (pos < table.size()) {
        const auto* begin = table.data() + pos;
        const auto* nul = std::find(begin, table.data() + table.size(), std::uint8_t{0});
        if (nul == table.data() + table.size())
            return std::nullopt;
        area.strings.emplace_back(reinterpret_cast<const char*>(begin),
                                  static_cast<std::size_t>(nul - begin));
        pos += static_cast<std::size_t>(nul - begin) + 1;
        if (pos < table.size() && table[pos] == 0) {
            area.end = pos + 1;
            return area;
        }
    }
    return std::nullopt;
}

} // namespace

SmbiosStructure::SmbiosStructure(std::span<const std::uint8_t> formatted,
                                 std::vector<std::string_view> strings)
    : formatted_(formatted)
    , strings_(std::move(strings)) {}

std::uint16_t SmbiosStructure::handle() const {
    return readLe16(formatted_, 2);
}

std::optional<std::uint8_t> SmbiosStructure::byte(std::size_t offset) const {
    if (offset + 1 > formatted_.size())
        return std::nullopt;
    return formatted_[offset];
}

std::optional<std::uint16_t> SmbiosStructure::word(std::size_t offset) const {
    if (offset + 2 > formatted_.size())
        return std::nullopt;
    return readLe16(formatted_, offset);
}

std::optional<std::uint32_t> SmbiosStructure::dword(std::size_t offset) const {
    if (offset + 4 > formatted_.size())
        return std::nullopt;
    return readLe32(formatted_, offset);
}

std::optional<std::uint64_t> SmbiosStructure::qword(std::size_t offset) const {
    if (offset + 8 > formatted_.size())
        return std::nullopt;
    return readLe64(formatted_, offset);
}

std::optional<std::string> SmbiosStructure::string(std::size_t offset) const {
    const auto index = byte(offset);
    if (!index || *index == 0 || *index > strings_.size())
        return std::nullopt;
    return firmwareText(strings_[*index - 1]);
}

std::vector<SmbiosStructure> parseStructures(std::span<const std::uint8_t> table,
                                             std::optional<std::uint32_t> maxCount) {
    std::vector<SmbiosStructure> structures;
    std::size_t pos = 0;
    while (pos + headerLength <= table.size()) {
        if (maxCount && structures.size() >= *maxCount)
            break;
        const std::size_t length = table[pos + 1];
        if (length < headerLength || pos + length > table.size())
            break;
        auto strings = readStrings(table, pos + length);
        if (!strings)
            break;
        if (table[pos] == smbios::type127::type)
            break;
        structures.emplace_back(table.subspan(pos, length), std::move(strings->strings));
        pos = strings->end;
    }
    return structures;
}

namespace {

// A string field of a structure and the WMI property it fills.
struct StringField {
    std::uint8_t type;
    std::size_t offset;
    std::string_view wmiClass;
    std::string_view property;
};

// The string fields of the BIOS, system and baseboard structures. Each structure gives one
// instance of every class listed for its type, with the properties in the order listed here;
// Win32_ComputerSystem takes only the first system structure's.
constexpr StringField stringFields[] = {
    {type0::type, type0::vendor, "Win32_Bios", "manufacturer"},
    {type0::type, type0::version, "Win32_Bios", "SMBIOSBIOSVersion"},
    {type1::type, type1::manufacturer, "Win32_ComputerSystem", "manufacturer"},
    {type1::type, type1::productName, "Win32_ComputerSystem", "Model"},
    {type1::type, type1::serialNumber, "Win32_ComputerSystemProduct", "IdentifyingNumber"},
    {type1::type, type1::manufacturer, "Win32_ComputerSystemProduct", "Vendor"},
    {type1::type, type1::version, "Win32_ComputerSystemProduct", "Version"},
    {type2::type, type2::manufacturer, "Win32_Baseboard", "manufacturer"},
    {type2::type, type2::product, "Win32_Baseboard", "product"},
};

// The usual SMBIOS "unknown" markers: 0 and all ones of a 16-bit field.
ScanValue knownWord(std::optional<std::uint16_t> v) {
    if (!v || *v == 0 || *v == 0xFFFF)
        return ScanValue::null();
    return ScanValue::integer(*v);
}

// uint64 properties travel as decimal text.
ScanValue uint64Text(std::uint64_t v) {
    return ScanValue::text(std::to_string(v));
}

// An empty socket gives nullopt; a populated one its capacity in bytes, or null when unknown.
std::optional<ScanValue> memoryDeviceCapacity(const SmbiosStructure& s) {
    const auto size = s.word(type17::size);
    if (!size || *size == 0)
        return std::nullopt;
    if (*size == type17::sizeUnknown)
        return ScanValue::null();
    constexpr std::uint64_t kb = 1024, mb = 1024 * 1024;
    if (*size == type17::sizeInExtendedField) {
        const auto extended = s.dword(type17::extendedSize);
        if (!extended || (*extended & type17::extendedValueMask) == 0)
            return ScanValue::null();
        return uint64Text(std::uint64_t{*extended & type17::extendedValueMask} * mb);
    }
    if (*size & type17::sizeInKilobytes) {
        const std::uint64_t kilobytes = *size & type17::sizeValueMask;
        if (kilobytes == 0)
            return ScanValue::null(); // "0 KB" in a populated socket says nothing
        return uint64Text(kilobytes * kb);
    }
    return uint64Text(std::uint64_t{*size} * mb);
}

ScanValue memoryDeviceSpeed(const SmbiosStructure& s) {
    const auto speed = s.word(type17::speed);
    if (speed && *speed == type17::speedInExtendedField) {
        const auto extended = s.dword(type17::extendedSpeed);
        if (!extended || (*extended & type17::extendedValueMask) == 0)
            return ScanValue::null();
        return ScanValue::integer(*extended & type17::extendedValueMask);
    }
    return knownWord(speed);
}

// MaxCapacity is a uint32 of kilobytes, so an extended maximum beyond it has no WMI form: null.
ScanValue memoryArrayMaxCapacity(const SmbiosStructure& s) {
    const auto max = s.dword(type16::maximumCapacity);
    if (!max || *max == 0)
        return ScanValue::null();
    if (*max == type16::capacityInExtendedField) {
        const auto extended = s.qword(type16::extendedMaximumCapacity);
        if (!extended || *extended == 0 || *extended / 1024 > 0xFFFFFFFFu)
            return ScanValue::null();
        return ScanValue::integer(static_cast<std::int64_t>(*extended / 1024));
    }
    return ScanValue::integer(*max);
}

bool isSystemMemoryArray(const SmbiosStructure& s) {
    return s.byte(type16::use) == type16::useSystemMemory;
}

bool isPopulatedSocket(const SmbiosStructure& s) {
    const auto status = s.byte(type4::status);
    return status && (*status & type4::socketPopulated);
}

// The instance of the class that the structure's string fields give, by the table.
snapshot::Instance stringFieldInstance(const SmbiosStructure& s, std::string_view wmiClass) {
    snapshot::Instance instance;
    for (const StringField& field : stringFields)
        if (field.type == s.type() && field.wmiClass == wmiClass)
            instance.push_back(
                {std::string(field.property), ScanValue::textOrNull(s.string(field.offset))});
    return instance;
}

ScanValue propertyValue(const snapshot::Instance& instance, std::string_view name) {
    for (const snapshot::Property& p : instance)
        if (p.name == name)
            return p.value;
    return ScanValue::null();
}

} // namespace

snapshot::Instance biosInstance(const SmbiosStructure& s) {
    return stringFieldInstance(s, "Win32_Bios");
}

snapshot::Instance baseboardInstance(const SmbiosStructure& s) {
    return stringFieldInstance(s, "Win32_Baseboard");
}

snapshot::Instance productInstance(const SmbiosStructure& s) {
    return stringFieldInstance(s, "Win32_ComputerSystemProduct");
}

snapshot::Instance memoryArrayInstance(const SmbiosStructure& s) {
    const auto devices = s.word(type16::numberOfDevices);
    return {{"MaxCapacity", memoryArrayMaxCapacity(s)},
            {"MemoryDevices", devices ? ScanValue::integer(*devices) : ScanValue::null()}};
}

std::optional<snapshot::Instance> memoryDeviceInstance(const SmbiosStructure& s) {
    auto capacity = memoryDeviceCapacity(s);
    if (!capacity)
        return std::nullopt;
    const auto type = s.byte(type17::memoryType);
    return snapshot::Instance{
        {"capacity", std::move(*capacity)},
        {"memorytype", type ? ScanValue::integer(wmiMemoryType(*type)) : ScanValue::null()},
        {"speed", memoryDeviceSpeed(s)},
        {"devicelocator", ScanValue::textOrNull(s.string(type17::deviceLocator))}};
}

SmbiosFindings decodeFindings(std::span<const SmbiosStructure> structures) {
    SmbiosFindings f;
    bool systemSeen = false;
    for (const SmbiosStructure& s : structures) {
        switch (s.type()) {
        case type0::type:
            f.bios.push_back(biosInstance(s));
            break;
        case type1::type:
            f.products.push_back(productInstance(s));
            if (!systemSeen) {
                systemSeen = true;
                const snapshot::Instance system = stringFieldInstance(s, "Win32_ComputerSystem");
                f.systemManufacturer = propertyValue(system, "manufacturer");
                f.systemModel = propertyValue(system, "Model");
            }
            break;
        case type2::type:
            f.baseboards.push_back(baseboardInstance(s));
            break;
        case type4::type:
            if (isPopulatedSocket(s))
                f.processorExternalClocks.push_back(knownWord(s.word(type4::externalClock)));
            break;
        case type16::type:
            if (isSystemMemoryArray(s))
                f.memoryArrays.push_back(memoryArrayInstance(s));
            break;
        case type17::type:
            if (auto device = memoryDeviceInstance(s))
                f.memoryDevices.push_back(std::move(*device));
            break;
        default:
            break;
        }
    }
    return f;
}

std::vector<SmbiosStructure> SmbiosTable::structures() const {
    const std::size_t length = std::min<std::size_t>(bytes.size(), entryPoint.tableLength);
    return parseStructures(std::span(bytes).first(length), entryPoint.structureCount);
}

std::optional<SmbiosTable> readKernelTables(const std::filesystem::path& dmiTablesDir) {
    const auto entry = files::readBinaryFileIfPresent(dmiTablesDir / "smbios_entry_point");
    if (!entry)
        return std::nullopt;
    const auto entryPoint = parseEntryPoint(*entry);
    if (!entryPoint)
        return std::nullopt;
    auto table = files::readBinaryFileIfPresent(dmiTablesDir / "DMI");
    if (!table)
        return std::nullopt;
    return SmbiosTable{*entryPoint, std::move(*table)};
}

SmbiosTable splitDump(std::span<const std::uint8_t> dump) {
    const auto entryPoint = parseEntryPoint(dump);
    if (!entryPoint)
        throw SmbiosError("no SMBIOS entry point (_SM_, _SM3_ or _DMI_) at the start");
    if (entryPoint->tableAddress >= dump.size())
        throw SmbiosError("the table offset " + std::to_string(entryPoint->tableAddress) +
                          " lies past the end of the " + std::to_string(dump.size()) +
                          "-byte dump");
    const auto table = dump.subspan(static_cast<std::size_t>(entryPoint->tableAddress));
    return SmbiosTable{*entryPoint, std::vector<std::uint8_t>(table.begin(), table.end())};
}

SmbiosTable loadDumpFile(const std::filesystem::path& file) {
    const std::string bytes = files::readUserFile(file, files::smbiosDumpLimit, "the SMBIOS dump ");
    try {
        return splitDump(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    } catch (const SmbiosError& e) {
        throw SmbiosError("Reading the SMBIOS dump " + file.string() + " failed: " + e.what());
    }
}

} // namespace quorvin::linux_hw
