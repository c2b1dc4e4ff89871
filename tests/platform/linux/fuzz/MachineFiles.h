#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin::fuzzing {

// The files of one of the machine's sources, as a Linux machine tree holds them. A fuzzer's input
// is their contents one after the other, each ended by a NUL byte; a file the input does not
// reach is absent.
struct MachineFiles {
    std::string_view name;
    std::vector<std::string_view> paths; // relative to the tree's root
};

inline const MachineFiles udevEntryFiles{"udev-entry", {"run/udev/data/+dmi:id"}};
inline const MachineFiles dmiIdFiles{
    "dmi-id",
    {"sys/class/dmi/id/sys_vendor", "sys/class/dmi/id/product_name", "sys/class/dmi/id/bios_vendor",
     "sys/class/dmi/id/bios_version", "sys/class/dmi/id/product_serial",
     "sys/class/dmi/id/product_version", "sys/class/dmi/id/board_vendor",
     "sys/class/dmi/id/board_name"}};
inline const MachineFiles procFiles{"proc",
                                    {"proc/meminfo", "proc/cpuinfo",
                                     "sys/devices/system/cpu/cpu0/topology/physical_package_id",
                                     "sys/devices/system/cpu/cpu0/cpufreq/scaling_cur_freq",
                                     "sys/devices/system/cpu/cpu1/topology/physical_package_id",
                                     "sys/devices/system/cpu/cpu1/cpufreq/scaling_cur_freq"}};

inline const MachineFiles* machineFilesNamed(std::string_view name) {
    for (const MachineFiles* files : {&udevEntryFiles, &dmiIdFiles, &procFiles})
        if (files->name == name)
            return files;
    return nullptr;
}

// The input's parts, one per path; nullopt for the paths past its end.
inline std::vector<std::optional<std::string_view>> splitParts(std::string_view input,
                                                               std::size_t count) {
    std::vector<std::optional<std::string_view>> parts(count);
    for (std::size_t i = 0; i < count && !input.empty(); ++i) {
        const auto end = input.find('\0');
        parts[i] = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view{} : input.substr(end + 1);
    }
    return parts;
}

// The input that stands for the files under root (a seed): absent files end it.
inline std::string packFiles(const std::filesystem::path& root, const MachineFiles& files) {
    std::string packed;
    for (const std::string_view path : files.paths) {
        std::ifstream in(root / path, std::ios::binary);
        if (!in)
            break;
        packed.append(std::istreambuf_iterator<char>(in), {});
        packed.push_back('\0');
    }
    return packed;
}

} // namespace quorvin::fuzzing
