#include "SmbiosFindings.h"

#include "MemoryTypeCodes.h"

#include <string>

namespace quorvin::linux_hw {

namespace {

// Structure types and the field offsets read from them.
constexpr std::uint8_t typeBios = 0, typeSystem = 1, typeBaseboard = 2, typeProcessor = 4,
                       typeMemoryArray = 16, typeMemoryDevice = 17;

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

// Type 17 size: 0 is an empty socket, 0xFFFF unknown, bit 15 selects KB instead of MB, and
// 0x7FFF defers to the 31-bit extended size (MB) at 0x1C.
std::optional<ScanValue> memoryDeviceCapacity(const SmbiosStructure& s) {
    const auto size = s.word(0x0C);
    if (!size || *size == 0)
        return std::nullopt;
    if (*size == 0xFFFF)
        return ScanValue::null();
    constexpr std::uint64_t kb = 1024, mb = 1024 * 1024;
    if (*size == 0x7FFF) {
        const auto extended = s.dword(0x1C);
        if (!extended || (*extended & 0x7FFFFFFFu) == 0)
            return ScanValue::null();
        return uint64Text(std::uint64_t{*extended & 0x7FFFFFFFu} * mb);
    }
    if (*size & 0x8000) {
        if ((*size & 0x7FFFu) == 0)
            return ScanValue::null(); // "0 KB" in a populated socket says nothing
        return uint64Text(std::uint64_t{*size & 0x7FFFu} * kb);
    }
    return uint64Text(std::uint64_t{*size} * mb);
}

// Type 17 speed (MT/s) at 0x15; 0xFFFF defers to the 32-bit extended speed at 0x54.
ScanValue memoryDeviceSpeed(const SmbiosStructure& s) {
    const auto speed = s.word(0x15);
    if (speed && *speed == 0xFFFF) {
        const auto extended = s.dword(0x54);
        if (!extended || (*extended & 0x7FFFFFFFu) == 0)
            return ScanValue::null();
        return ScanValue::integer(*extended & 0x7FFFFFFFu);
    }
    return knownWord(speed);
}

// Type 16 maximum capacity in KB; 0x80000000 defers to the extended maximum (bytes) at 0x0F.
// MaxCapacity is a uint32 of kilobytes, so an extended value beyond it has no WMI form: null.
ScanValue memoryArrayMaxCapacity(const SmbiosStructure& s) {
    const auto max = s.dword(0x07);
    if (!max || *max == 0)
        return ScanValue::null();
    if (*max == 0x80000000u) {
        const auto extended = s.qword(0x0F);
        if (!extended || *extended == 0 || *extended / 1024 > 0xFFFFFFFFu)
            return ScanValue::null();
        return ScanValue::integer(static_cast<std::int64_t>(*extended / 1024));
    }
    return ScanValue::integer(*max);
}

bool isSystemMemoryArray(const SmbiosStructure& s) {
    constexpr std::uint8_t useSystemMemory = 0x03;
    return s.byte(0x05) == useSystemMemory;
}

bool isPopulatedSocket(const SmbiosStructure& s) {
    constexpr std::uint8_t socketPopulated = 0x40;
    const auto status = s.byte(0x18);
    return status && (*status & socketPopulated);
}

} // namespace

snapshot::Instance biosInstance(const SmbiosStructure& s) {
    return {{"manufacturer", ScanValue::textOrNull(s.string(0x04))},
            {"SMBIOSBIOSVersion", ScanValue::textOrNull(s.string(0x05))}};
}

snapshot::Instance baseboardInstance(const SmbiosStructure& s) {
    return {{"manufacturer", ScanValue::textOrNull(s.string(0x04))},
            {"product", ScanValue::textOrNull(s.string(0x05))}};
}

snapshot::Instance productInstance(const SmbiosStructure& s) {
    return {{"IdentifyingNumber", ScanValue::textOrNull(s.string(0x07))},
            {"Vendor", ScanValue::textOrNull(s.string(0x04))},
            {"Version", ScanValue::textOrNull(s.string(0x06))}};
}

snapshot::Instance memoryArrayInstance(const SmbiosStructure& s) {
    const auto devices = s.word(0x0D);
    return {{"MaxCapacity", memoryArrayMaxCapacity(s)},
            {"MemoryDevices", devices ? ScanValue::integer(*devices) : ScanValue::null()}};
}

std::optional<snapshot::Instance> memoryDeviceInstance(const SmbiosStructure& s) {
    auto capacity = memoryDeviceCapacity(s);
    if (!capacity)
        return std::nullopt;
    const auto type = s.byte(0x12);
    return snapshot::Instance{
        {"capacity", std::move(*capacity)},
        {"memorytype", type ? ScanValue::integer(wmiMemoryType(*type)) : ScanValue::null()},
        {"speed", memoryDeviceSpeed(s)},
        {"devicelocator", ScanValue::textOrNull(s.string(0x10))}};
}

SmbiosFindings decodeFindings(std::span<const SmbiosStructure> structures) {
    SmbiosFindings f;
    bool systemSeen = false;
    for (const SmbiosStructure& s : structures) {
        switch (s.type()) {
        case typeBios:
            f.bios.push_back(biosInstance(s));
            break;
        case typeSystem:
            f.products.push_back(productInstance(s));
            if (!systemSeen) {
                systemSeen = true;
                f.systemManufacturer = ScanValue::textOrNull(s.string(0x04));
                f.systemModel = ScanValue::textOrNull(s.string(0x05));
            }
            break;
        case typeBaseboard:
            f.baseboards.push_back(baseboardInstance(s));
            break;
        case typeProcessor:
            if (isPopulatedSocket(s))
                f.processorExternalClocks.push_back(knownWord(s.word(0x12)));
            break;
        case typeMemoryArray:
            if (isSystemMemoryArray(s))
                f.memoryArrays.push_back(memoryArrayInstance(s));
            break;
        case typeMemoryDevice:
            if (auto device = memoryDeviceInstance(s))
                f.memoryDevices.push_back(std::move(*device));
            break;
        default:
            break;
        }
    }
    return f;
}

} // namespace quorvin::linux_hw
