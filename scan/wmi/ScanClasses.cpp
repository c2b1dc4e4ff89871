#include "ScanClasses.h"

#include "scan/values/AsciiText.h"

#include <algorithm>
#include <array>

namespace quorvin::wmi {

namespace {

using enum CimType;

constexpr std::array computerSystem{
    PropertyInfo{"manufacturer", String},
    PropertyInfo{"Model", String},
    PropertyInfo{"TotalPhysicalMemory", UInt64},
    PropertyInfo{"SystemType", String},
};
constexpr std::array memoryArray{
    PropertyInfo{"MaxCapacity", UInt32}, // kilobytes
    PropertyInfo{"MemoryDevices", UInt16},
};
constexpr std::array physicalMemory{
    PropertyInfo{"capacity", UInt64}, // bytes
    PropertyInfo{"memorytype", UInt16},
    PropertyInfo{"speed", UInt32},
    PropertyInfo{"devicelocator", String},
};
constexpr std::array processor{
    PropertyInfo{"Name", String},
    PropertyInfo{"manufacturer", String},
    PropertyInfo{"CurrentClockSpeed", UInt32},
    PropertyInfo{"extclock", UInt32},
};
constexpr std::array bios{
    PropertyInfo{"manufacturer", String},
    PropertyInfo{"SMBIOSBIOSVersion", String},
};
constexpr std::array product{
    PropertyInfo{"IdentifyingNumber", String},
    PropertyInfo{"Vendor", String},
    PropertyInfo{"Version", String},
};
constexpr std::array baseboard{
    PropertyInfo{"manufacturer", String},
    PropertyInfo{"product", String},
};

constexpr std::array classes{
    ClassInfo{"Win32_ComputerSystem", computerSystem},
    ClassInfo{"Win32_PhysicalMemoryArray", memoryArray},
    ClassInfo{"Win32_PhysicalMemory", physicalMemory},
    ClassInfo{"Win32_Processor", processor},
    ClassInfo{"Win32_Bios", bios},
    ClassInfo{"Win32_ComputerSystemProduct", product},
    ClassInfo{"Win32_Baseboard", baseboard},
};

} // namespace

std::span<const ClassInfo> scanClasses() {
    return classes;
}

const ClassInfo* findScanClass(std::string_view className) {
    const auto it = std::find_if(classes.begin(), classes.end(), [&](const ClassInfo& c) {
        return equalsIgnoreCase(c.name, className);
    });
    return it == classes.end() ? nullptr : &*it;
}

const PropertyInfo* findScanProperty(std::string_view className, std::string_view property) {
    const ClassInfo* info = findScanClass(className);
    if (!info)
        return nullptr;
    const auto it =
        std::find_if(info->properties.begin(), info->properties.end(),
                     [&](const PropertyInfo& p) { return equalsIgnoreCase(p.name, property); });
    return it == info->properties.end() ? nullptr : &*it;
}

} // namespace quorvin::wmi
