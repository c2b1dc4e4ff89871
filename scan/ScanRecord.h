#pragma once

#include "scan/values/ScanValue.h"

#include <cstdint>

namespace quorvin {

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
