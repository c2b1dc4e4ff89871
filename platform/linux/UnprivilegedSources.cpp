#include "UnprivilegedSources.h"

#include "Smbios.h"
#include "platform/files/TextFile.h"
#include "scan/values/ScanValue.h"

#include <algorithm>
#include <charconv>
#include <map>

#include <sys/utsname.h>

namespace quorvin::linux_hw {

namespace {

// The dmi/id attributes the scan's classes read.
struct DmiIdField {
    std::string_view attribute; // file name in /sys/class/dmi/id
    std::string_view wmiClass;
    std::string_view property;
};

constexpr DmiIdField dmiIdFields[] = {
    {"sys_vendor", "Win32_ComputerSystem", "manufacturer"},
    {"product_name", "Win32_ComputerSystem", "Model"},
    {"bios_vendor", "Win32_Bios", "manufacturer"},
    {"bios_version", "Win32_Bios", "SMBIOSBIOSVersion"},
    {"product_serial", "Win32_ComputerSystemProduct", "IdentifyingNumber"},
    {"sys_vendor", "Win32_ComputerSystemProduct", "Vendor"},
    {"product_version", "Win32_ComputerSystemProduct", "Version"},
    {"board_vendor", "Win32_Baseboard", "manufacturer"},
    {"board_name", "Win32_Baseboard", "product"},
};

constexpr std::string_view arrayPrefix = "MEMORY_ARRAY_";
constexpr std::string_view devicePrefix = "MEMORY_DEVICE_";
constexpr std::string_view notSpecified = "Not Specified";

// udev writes bare digits: anything else in the value makes it no number.
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

// The kernel's files: the number at the start of the trimmed text, whatever follows it.
template <typename T> std::optional<T> parseNumber(std::string_view s) {
    s = trimSpace(s);
    T value{};
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc{} || end == s.data())
        return std::nullopt;
    return value;
}

// Splits "key\t: value" lines; calls f(key, value) for each, and f("", "") on blank lines.
template <typename F> void forEachField(std::string_view text, F&& f) {
    files::forEachLine(text, [&f](std::string_view line) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            f(std::string_view{}, trimSpace(line));
        else
            f(trimSpace(line.substr(0, colon)), trimSpace(line.substr(colon + 1)));
    });
}

std::optional<int> sysfsPackageId(const std::filesystem::path& sysRoot, int processor) {
    const auto text = files::readTextFileIfPresent(sysRoot / "devices/system/cpu" /
                                                   ("cpu" + std::to_string(processor)) /
                                                   "topology/physical_package_id");
    return text ? parseNumber<int>(*text) : std::nullopt;
}

std::optional<double> sysfsCurrentMHz(const std::filesystem::path& sysRoot, int processor) {
    const auto text = files::readTextFileIfPresent(sysRoot / "devices/system/cpu" /
                                                   ("cpu" + std::to_string(processor)) /
                                                   "cpufreq/scaling_cur_freq");
    if (!text)
        return std::nullopt;
    const auto khz = parseNumber<std::uint64_t>(*text);
    return khz ? std::optional<double>(static_cast<double>(*khz) / 1000.0) : std::nullopt;
}

// Rounds half away from zero, as llround does, for 0 < value < 2^52; without the maths library,
// which wmi-dump would load for this alone.
std::int64_t roundedPositive(double value) {
    auto whole = static_cast<std::int64_t>(value);
    if (value - static_cast<double>(whole) >= 0.5)
        ++whole;
    return whole;
}

} // namespace

std::optional<ScanValue> readDmiIdAttribute(const std::filesystem::path& dmiIdDir,
                                            std::string_view attribute) {
    auto text = files::readTextFileIfPresent(dmiIdDir / attribute);
    if (!text)
        return std::nullopt;
    if (!text->empty() && text->back() == '\n')
        text->pop_back();
    // The kernel passes the table's string bytes on as they are.
    return text->empty() ? ScanValue::null() : ScanValue::text(firmwareText(*text));
}

const snapshot::Instance* DmiIdInstances::find(std::string_view wmiClass) const {
    for (const auto& [className, instance] : byClass)
        if (className == wmiClass)
            return &instance;
    return nullptr;
}

DmiIdInstances readDmiIdInstances(const std::filesystem::path& dmiIdDir) {
    struct Reading {
        std::string_view wmiClass;
        snapshot::Instance instance;
        bool anyFileRead = false;
    };
    std::vector<Reading> readings;
    // sys_vendor feeds two classes; each file is read once.
    std::map<std::string_view, std::optional<ScanValue>> files;
    for (const DmiIdField& field : dmiIdFields) {
        auto reading = std::find_if(readings.begin(), readings.end(),
                                    [&](const Reading& r) { return r.wmiClass == field.wmiClass; });
        if (reading == readings.end())
            reading = readings.insert(readings.end(), Reading{field.wmiClass, {}});
        auto file = files.find(field.attribute);
        if (file == files.end())
            file =
                files.emplace(field.attribute, readDmiIdAttribute(dmiIdDir, field.attribute)).first;
        const std::optional<ScanValue>& value = file->second;
        reading->anyFileRead = reading->anyFileRead || value.has_value();
        reading->instance.push_back(
            {std::string(field.property), value.value_or(ScanValue::null())});
    }
    DmiIdInstances result;
    for (Reading& reading : readings)
        if (reading.anyFileRead)
            result.byClass.emplace_back(reading.wmiClass, std::move(reading.instance));
    return result;
}

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

std::optional<std::uint64_t> parseMemTotal(std::string_view meminfo) {
    std::optional<std::uint64_t> bytes;
    forEachField(meminfo, [&](std::string_view key, std::string_view value) {
        if (bytes || key != "MemTotal")
            return;
        const auto unit = value.find(' ');
        const auto kb = parseNumber<std::uint64_t>(value.substr(0, unit));
        const std::string_view suffix =
            unit == std::string_view::npos ? std::string_view{} : trimSpace(value.substr(unit));
        if (kb && (suffix == "kB" || suffix.empty()) && *kb <= UINT64_MAX / 1024)
            bytes = *kb * 1024;
    });
    return bytes;
}

std::vector<LogicalCpu> parseCpuInfo(std::string_view cpuinfo) {
    std::vector<LogicalCpu> cpus;
    forEachField(cpuinfo, [&](std::string_view key, std::string_view value) {
        if (key == "processor") {
            cpus.emplace_back();
            cpus.back().processor =
                parseNumber<int>(value).value_or(static_cast<int>(cpus.size()) - 1);
            return;
        }
        if (cpus.empty() || key.empty())
            return;
        LogicalCpu& cpu = cpus.back();
        if (key == "physical id")
            cpu.physicalId = parseNumber<int>(value);
        else if (key == "model name" && !value.empty())
            cpu.modelName = std::string(value);
        else if (key == "vendor_id" && !value.empty())
            cpu.vendorId = std::string(value);
        else if (key == "cpu MHz")
            cpu.mhz = parseNumber<double>(value);
    });
    return cpus;
}

ScanValue systemTypeFor(std::string_view machine) {
    if (machine == "x86_64" || machine == "amd64")
        return ScanValue::text("x64-based PC");
    if (machine == "aarch64" || machine == "arm64")
        return ScanValue::text("ARM64-based PC");
    if (machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86")
        return ScanValue::text("X86-based PC");
    return ScanValue::null();
}

std::vector<ProcessorPackage> groupPackages(const std::vector<LogicalCpu>& cpus,
                                            const std::filesystem::path& sysRoot) {
    std::vector<ProcessorPackage> packages;
    std::map<int, std::size_t> seen;
    for (const LogicalCpu& cpu : cpus) {
        const int id =
            cpu.physicalId ? *cpu.physicalId : sysfsPackageId(sysRoot, cpu.processor).value_or(0);
        if (!seen.emplace(id, packages.size()).second)
            continue;
        ProcessorPackage p;
        p.name = ScanValue::textOrNull(cpu.modelName);
        p.manufacturer = ScanValue::textOrNull(cpu.vendorId);
        const auto mhz = cpu.mhz ? cpu.mhz : sysfsCurrentMHz(sysRoot, cpu.processor);
        if (mhz && *mhz > 0 && *mhz < 1e7)
            p.currentClockMHz = ScanValue::integer(roundedPositive(*mhz));
        packages.push_back(std::move(p));
    }
    return packages;
}

std::string hostMachine() {
    utsname names{};
    if (uname(&names) == 0)
        return names.machine;
    return {};
}

ProcFacts readProcFacts(const std::filesystem::path& procRoot, const std::filesystem::path& sysRoot,
                        std::string_view machine) {
    ProcFacts facts;
    if (const auto meminfo = files::readTextFileIfPresent(procRoot / "meminfo"))
        if (const auto bytes = parseMemTotal(*meminfo))
            facts.totalPhysicalMemory = ScanValue::text(std::to_string(*bytes));
    facts.systemType = systemTypeFor(machine);
    if (const auto cpuinfo = files::readTextFileIfPresent(procRoot / "cpuinfo"))
        facts.packages = groupPackages(parseCpuInfo(*cpuinfo), sysRoot);
    return facts;
}

} // namespace quorvin::linux_hw
