#pragma once

#include "platform/snapshot/Snapshot.h"

#include <string>

namespace formtest {

// Texts a hostile machine reports: markup, query delimiters, a percent sign and text beyond ASCII.
inline const std::string hostileMaker = "Brindle & Sons <img src=x> #1 + 100% Grün 电脑";
inline const std::string hostileModel = "Q&A #7 + 50% Zoë";
inline const std::string hostileBoard = "Böard & Co #B + 5%";

// A recorded machine with three memory modules and the hostile identity texts above.
inline quorvin::snapshot::Snapshot machineSnapshot() {
    using quorvin::ScanValue;
    using T = ScanValue;
    quorvin::snapshot::Snapshot s;
    s.declareScanClasses();
    s.addInstance("Win32_ComputerSystem", {{"manufacturer", T::text(hostileMaker)},
                                           {"Model", T::text(hostileModel)},
                                           {"TotalPhysicalMemory", T::text("8589934592")},
                                           {"SystemType", T::text("x64-based PC")}});
    s.addInstance("Win32_PhysicalMemoryArray",
                  {{"MaxCapacity", T::integer(16777216)}, {"MemoryDevices", T::integer(4)}});
    const char* locators[] = {"DIMM0", "DIMM1", "DIMM2"};
    const char* capacities[] = {"4294967296", "2147483648", "2147483648"};
    for (int i = 0; i < 3; ++i)
        s.addInstance("Win32_PhysicalMemory", {{"capacity", T::text(capacities[i])},
                                               {"memorytype", T::integer(24)},
                                               {"speed", T::integer(1600 - 267 * i)},
                                               {"devicelocator", T::text(locators[i])}});
    s.addInstance("Win32_Processor", {{"Name", T::text("Quorvin Test CPU @ 3.20GHz")},
                                      {"manufacturer", T::text("GenuineTest")},
                                      {"CurrentClockSpeed", T::integer(3200)},
                                      {"extclock", T::integer(100)}});
    s.addInstance("Win32_Bios", {{"manufacturer", T::text("Test BIOS Inc.")},
                                 {"SMBIOSBIOSVersion", T::text("1.2.3")}});
    s.addInstance("Win32_ComputerSystemProduct", {{"IdentifyingNumber", T::text("SN-0042")},
                                                  {"Vendor", T::text("Vendor Ltd")},
                                                  {"Version", T::text("Rev A")}});
    s.addInstance("Win32_Baseboard",
                  {{"manufacturer", T::text("Board Maker")}, {"product", T::text(hostileBoard)}});
    return s;
}

} // namespace formtest
