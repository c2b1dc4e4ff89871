#include "ProcFacts.h"

#include "platform/files/TextFile.h"
#include "scan/values/ScanValue.h"

#include <charconv>
#include <map>

#include <sys/utsname.h>

namespace quorvin::linux_hw {

namespace {

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
