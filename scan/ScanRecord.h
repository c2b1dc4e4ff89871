#pragma once

#include "scan/values/ScanValue.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quorvin {

enum class ModuleList { Slots, Memory, Speed };

// The list's control name: "slotsLst", "memoryLst" or "speedLst".
constexpr const char* listName(ModuleList list) {
    switch (list) {
    case ModuleList::Slots:
        return "slotsLst";
    case ModuleList::Memory:
        return "memoryLst";
    case ModuleList::Speed:
        return "speedLst";
    }
    return "?";
}

// The results window's three module lists as the scan fills them.
class ModuleLists {
public:
    virtual ~ModuleLists() = default;
    virtual void clearList(ModuleList list) = 0;
    virtual void addListRow(ModuleList list, const std::string& row) = 0;
};

// What one scan found, held by the results window for its whole life. Every value starts empty
// and both sizes 0.0; a scan only overwrites, so each field keeps the last value written.
struct ScanRecord {
    // Working values, set at the start of every scan.
    ScanValue scanComputer;
    double scanUnit = 0.0;

    // Win32_ComputerSystem
    ScanValue scanSysManufacturer;
    ScanValue scanSysModel;
    double scanInstalledGB = 0.0;
    ScanValue scanSysType;

    // Win32_PhysicalMemoryArray
    double scanMaxGB = 0.0;
    ScanValue scanTotalSlots;

    // Win32_PhysicalMemory: running texts, each value followed by its separator.
    ScanValue scanModCapacities;
    ScanValue scanModTypes;
    ScanValue scanModSpeeds;
    ScanValue scanModLocators;
    std::int16_t scanModuleCount = 0;

    // Win32_Processor
    ScanValue scanCpuName;
    ScanValue scanCpuManufacturer;
    ScanValue scanCpuClock;
    ScanValue scanCpuBusClock;

    // Win32_Bios
    ScanValue scanBiosManufacturer;
    ScanValue scanBiosVersion;

    // Win32_ComputerSystemProduct
    ScanValue scanProductNumber;
    ScanValue scanProductVendor;
    ScanValue scanProductVersion;

    // Win32_Baseboard
    ScanValue scanBoardManufacturer;
    ScanValue scanBoardProduct;

    friend bool operator==(const ScanRecord&, const ScanRecord&) = default;
};

} // namespace quorvin

namespace quorvin::wmi {

// The CIM types of the properties the scan reads; they decide the kind a value is delivered as.
enum class CimType { String, UInt16, UInt32, UInt64 };

// What a size property counts.
enum class SizeUnit { None, Bytes, Kilobytes };

// One property the scan reads and where the record keeps it: as delivered in `value`, or, for a
// size, rounded to gigabytes in `gigabytes`. A memory module's property is appended to its running
// text `value` as text (a size in megabytes), followed by its `unit` and a comma; with a `list`,
// the text and unit also make the module's row there.
struct PropertyInfo {
    std::string_view name; // as the scan sends it
    CimType type;
    ScanValue ScanRecord::*value = nullptr;
    double ScanRecord::*gigabytes = nullptr;
    SizeUnit size = SizeUnit::None;
    std::string_view unit = {};
    std::optional<ModuleList> list = {};
};

struct ClassInfo {
    std::string_view name; // as the scan's query names it
    std::span<const PropertyInfo> properties;
    bool perModule = false; // one memory module per instance, with its rows in the module lists
};

namespace scan_classes {

using enum CimType;
using R = ScanRecord;

inline constexpr std::array computerSystem{
    PropertyInfo{"manufacturer", String, &R::scanSysManufacturer},
    PropertyInfo{"Model", String, &R::scanSysModel},
    PropertyInfo{.name = "TotalPhysicalMemory",
                 .type = UInt64,
                 .gigabytes = &R::scanInstalledGB,
                 .size = SizeUnit::Bytes},
    PropertyInfo{"SystemType", String, &R::scanSysType},
};
inline constexpr std::array memoryArray{
    PropertyInfo{.name = "MaxCapacity",
                 .type = UInt32,
                 .gigabytes = &R::scanMaxGB,
                 .size = SizeUnit::Kilobytes},
    PropertyInfo{"MemoryDevices", UInt16, &R::scanTotalSlots},
};
inline constexpr std::array physicalMemory{
    PropertyInfo{.name = "capacity",
                 .type = UInt64,
                 .value = &R::scanModCapacities,
                 .size = SizeUnit::Bytes,
                 .unit = " MB",
                 .list = ModuleList::Memory},
    PropertyInfo{"memorytype", UInt16, &R::scanModTypes},
    PropertyInfo{.name = "speed",
                 .type = UInt32,
                 .value = &R::scanModSpeeds,
                 .unit = " MHz",
                 .list = ModuleList::Speed},
    // A socket without a name still gets its (empty) row, so the lists stay aligned.
    PropertyInfo{.name = "devicelocator",
                 .type = String,
                 .value = &R::scanModLocators,
                 .list = ModuleList::Slots},
};
inline constexpr std::array processor{
    PropertyInfo{"Name", String, &R::scanCpuName},
    PropertyInfo{"manufacturer", String, &R::scanCpuManufacturer},
    PropertyInfo{"CurrentClockSpeed", UInt32, &R::scanCpuClock},
    PropertyInfo{"extclock", UInt32, &R::scanCpuBusClock},
};
inline constexpr std::array bios{
    PropertyInfo{"manufacturer", String, &R::scanBiosManufacturer},
    PropertyInfo{"SMBIOSBIOSVersion", String, &R::scanBiosVersion},
};
inline constexpr std::array product{
    PropertyInfo{"IdentifyingNumber", String, &R::scanProductNumber},
    PropertyInfo{"Vendor", String, &R::scanProductVendor},
    PropertyInfo{"Version", String, &R::scanProductVersion},
};
inline constexpr std::array baseboard{
    PropertyInfo{"manufacturer", String, &R::scanBoardManufacturer},
    PropertyInfo{"product", String, &R::scanBoardProduct},
};

inline constexpr std::array all{
    ClassInfo{"Win32_ComputerSystem", computerSystem},
    ClassInfo{"Win32_PhysicalMemoryArray", memoryArray},
    ClassInfo{"Win32_PhysicalMemory", physicalMemory, true},
    ClassInfo{"Win32_Processor", processor},
    ClassInfo{"Win32_Bios", bios},
    ClassInfo{"Win32_ComputerSystemProduct", product},
    ClassInfo{"Win32_Baseboard", baseboard},
};

// Every property has one place in the record: a size in gigabytes, or a value; a module's
// property is always kept as running text, and only modules fill the lists.
consteval bool placesAreWhole() {
    int moduleClasses = 0;
    for (const ClassInfo& c : all) {
        moduleClasses += c.perModule ? 1 : 0;
        for (const PropertyInfo& p : c.properties) {
            if ((p.value == nullptr) == (p.gigabytes == nullptr))
                return false;
            if (p.gigabytes && p.size == SizeUnit::None)
                return false;
            if (!c.perModule && (p.list || !p.unit.empty()))
                return false;
        }
    }
    return moduleClasses == 1;
}
static_assert(placesAreWhole(), "a scanned property has no place, or two, in the scan record");

} // namespace scan_classes

// The seven classes the scan queries, in query order, each with the properties the scan reads
// in reading order.
inline std::span<const ClassInfo> scanClasses() {
    return scan_classes::all;
}

// Looks a class or a property up without regard to case; nullptr when it is not one the scan uses.
inline const ClassInfo* findScanClass(std::string_view className) {
    const auto& all = scan_classes::all;
    const auto it = std::find_if(all.begin(), all.end(), [&](const ClassInfo& c) {
        return equalsIgnoreCase(c.name, className);
    });
    return it == all.end() ? nullptr : &*it;
}

inline const PropertyInfo* findScanProperty(std::string_view className, std::string_view property) {
    const ClassInfo* info = findScanClass(className);
    if (!info)
        return nullptr;
    const auto it =
        std::find_if(info->properties.begin(), info->properties.end(),
                     [&](const PropertyInfo& p) { return equalsIgnoreCase(p.name, property); });
    return it == info->properties.end() ? nullptr : &*it;
}

} // namespace quorvin::wmi
