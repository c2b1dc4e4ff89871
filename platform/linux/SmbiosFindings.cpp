#include "SmbiosFindings.h"

#include "MemoryTypeCodes.h"
#include "SmbiosFields.h"
#include "SmbiosStringFields.h"

#include <string>

namespace quorvin::linux_hw {

using namespace smbios;

namespace {

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

} // namespace quorvin::linux_hw
