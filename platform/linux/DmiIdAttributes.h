#pragma once

#include "platform/snapshot/Snapshot.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvin::linux_hw {

// The kernel publishes the SMBIOS strings it knows as files in /sys/class/dmi/id, readable by
// everyone except the serial numbers (root only). These are the ones the scan's classes read.
struct DmiIdField {
    std::string_view attribute; // file name in /sys/class/dmi/id
    std::string_view wmiClass;
    std::string_view property;
};

inline constexpr DmiIdField dmiIdFields[] = {
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

// One attribute file's value: nullopt when the file cannot be read (absent, or root only), null
// when it is empty, else its text without the line feed the kernel ends it with. Blanks the
// firmware left at the end stay, as in the tables.
std::optional<ScanValue> readDmiIdAttribute(const std::filesystem::path& dmiIdDir,
                                            std::string_view attribute);

// An instance for each class of the table that has at least one readable file, properties in the
// table's order (an unreadable file gives null).
struct DmiIdInstances {
    std::vector<std::pair<std::string_view, snapshot::Instance>> byClass;
    // nullptr when none of the class's files could be read.
    const snapshot::Instance* find(std::string_view wmiClass) const;
};
DmiIdInstances readDmiIdInstances(const std::filesystem::path& dmiIdDir);

} // namespace quorvin::linux_hw
