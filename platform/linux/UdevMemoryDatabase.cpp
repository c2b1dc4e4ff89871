#include "UdevMemoryDatabase.h"

#include "FirmwareText.h"
#include "MemoryTypeCodes.h"
#include "platform/files/TextFile.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <string>

namespace quorvin::linux_hw {

namespace {

constexpr std::string_view arrayPrefix = "MEMORY_ARRAY_";
constexpr std::string_view devicePrefix = "MEMORY_DEVICE_";
constexpr std::string_view notSpecified = "Not Specified";

std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

using Keys = std::map<std::string_view, std::string_view, std::less<>>;

ScanValue lookup(const Keys& keys, std::string_view key) {
    const auto it = keys.find(key);
    if (it == keys.end() || it->second.empty() || it->second == notSpecified)
        return ScanValue::null();
    return ScanValue::text(firmwareText(it->second)); // the table's bytes, as udev copied them
}

std::optional<std::uint64_t> number(const Keys& keys, std::string_view key) {
    const auto it = keys.find(key);
    return it == keys.end() ? std::nullopt : parseUnsigned(it->second);
}

// MaxCapacity is a uint32 of kilobytes: a maximum beyond it has no WMI form.
snapshot::Instance arrayInstance(const Keys& keys) {
    const auto bytes = number(keys, "MAX_CAPACITY");
    const auto devices = number(keys, "NUM_DEVICES");
    const bool capacityFits = bytes && *bytes >= 1024 && *bytes / 1024 <= 0xFFFFFFFFu;
    return {{"MaxCapacity", capacityFits
                                ? ScanValue::integer(static_cast<std::int64_t>(*bytes / 1024))
                                : ScanValue::null()},
            {"MemoryDevices", devices && *devices <= 0xFFFFFFFFu
                                  ? ScanValue::integer(static_cast<std::int64_t>(*devices))
                                  : ScanValue::null()}};
}

snapshot::Instance deviceInstance(const Keys& keys) {
    const auto size = number(keys, "SIZE");
    const auto speed = number(keys, "SPEED_MTS");
    const auto type = keys.find("TYPE");
    const auto typeCode = type == keys.end() ? std::nullopt : wmiMemoryTypeForName(type->second);
    return {
        {"capacity", size && *size ? ScanValue::text(std::to_string(*size)) : ScanValue::null()},
        {"memorytype", typeCode ? ScanValue::integer(*typeCode) : ScanValue::null()},
        {"speed", speed && *speed != 0 && *speed != 0xFFFF
                      ? ScanValue::integer(static_cast<std::int64_t>(*speed))
                      : ScanValue::null()},
        {"devicelocator", lookup(keys, "LOCATOR")}};
}

} // namespace

UdevMemoryFacts parseUdevMemoryEntry(std::string_view entry) {
    Keys array;
    std::map<std::uint64_t, Keys> devices;
    files::forEachLine(entry, [&](std::string_view line) {
        if (!line.starts_with("E:"))
            return;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            return;
        const std::string_view key = line.substr(2, equals - 2);
        const std::string_view value = line.substr(equals + 1);
        if (key.starts_with(arrayPrefix)) {
            array[key.substr(arrayPrefix.size())] = value;
        } else if (key.starts_with(devicePrefix)) {
            const std::string_view rest = key.substr(devicePrefix.size());
            const auto underscore = rest.find('_');
            if (underscore == std::string_view::npos)
                return;
            if (const auto n = parseUnsigned(rest.substr(0, underscore)))
                devices[*n][rest.substr(underscore + 1)] = value;
        }
    });
    UdevMemoryFacts facts;
    if (!array.empty())
        facts.memoryArray = arrayInstance(array);
    for (const auto& [n, keys] : devices) {
        const auto present = keys.find("PRESENT");
        if (present != keys.end() && present->second == "0")
            continue; // an empty socket, which WMI leaves out
        facts.memoryDevices.push_back(deviceInstance(keys));
    }
    return facts;
}

std::optional<UdevMemoryFacts> readUdevMemoryEntry(const std::filesystem::path& entryFile) {
    const auto text = files::readTextFileIfPresent(entryFile);
    if (!text)
        return std::nullopt;
    return parseUdevMemoryEntry(*text);
}

} // namespace quorvin::linux_hw
