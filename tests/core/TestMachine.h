#pragma once

// Builders for recorded machines and a WMI provider that fails where a test asks it to.

#include "platform/snapshot/Snapshot.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvin::test {

using snapshot::Instance;
using snapshot::Property;

inline ScanValue txt(const char* s) {
    return ScanValue::text(s);
}
inline ScanValue num(std::int64_t n) {
    return ScanValue::integer(n);
}

struct ModuleSpec {
    ScanValue capacity; // bytes, as decimal text
    ScanValue memoryType;
    ScanValue speed;
    ScanValue locator;
};

inline Instance moduleInstance(const ModuleSpec& m) {
    return {{"Capacity", m.capacity},
            {"MemoryType", m.memoryType},
            {"Speed", m.speed},
            {"DeviceLocator", m.locator}};
}

// A desktop with two modules, every class answering once.
inline snapshot::Snapshot typicalMachine() {
    snapshot::Snapshot s;
    s.declareScanClasses();
    s.addInstance("Win32_ComputerSystem", {{"Manufacturer", txt("A1")},
                                           {"Model", txt("B2")},
                                           {"TotalPhysicalMemory", txt("17098874880")},
                                           {"SystemType", txt("x64-based PC")}});
    s.addInstance("Win32_PhysicalMemoryArray",
                  {{"MaxCapacity", num(33554432)}, {"MemoryDevices", num(4)}});
    s.addInstance("Win32_PhysicalMemory",
                  moduleInstance({txt("8589934592"), num(24), num(1600), txt("DIMM0")}));
    s.addInstance("Win32_PhysicalMemory",
                  moduleInstance({txt("4294967296"), num(24), num(1333), txt("DIMM2")}));
    s.addInstance("Win32_Processor", {{"Name", txt("Brand CPU 3.4GHz")},
                                      {"Manufacturer", txt("GenuineIntel")},
                                      {"CurrentClockSpeed", num(3400)},
                                      {"ExtClock", num(100)}});
    s.addInstance("Win32_BIOS",
                  {{"Manufacturer", txt("BiosMaker")}, {"SMBIOSBIOSVersion", txt("1.2.3")}});
    s.addInstance(
        "Win32_ComputerSystemProduct",
        {{"IdentifyingNumber", txt("SN123")}, {"Vendor", txt("A1")}, {"Version", txt("Rev 1")}});
    s.addInstance("Win32_BaseBoard", {{"Manufacturer", txt("BoardMaker")}, {"Product", txt("C3")}});
    return s;
}

// The typical machine with one class's instances replaced (none, for a class that answers empty).
snapshot::Snapshot typicalMachineWithInstances(std::string_view className,
                                               const std::vector<Instance>& instances);

// The typical machine with one property of a class set to another value.
snapshot::Snapshot typicalMachineWith(std::string_view className, std::string_view property,
                                      const ScanValue& value);

// Replays a snapshot, logs each bind and query, and fails where told to.
class ScriptedProvider : public wmi::WmiProvider {
public:
    explicit ScriptedProvider(snapshot::Snapshot snapshot, std::vector<std::string>* log = nullptr)
        : inner_(std::move(snapshot))
        , log_(log) {}

    bool failBind = false;
    std::string failQueryOf; // a class whose query fails

    std::unique_ptr<wmi::WmiService> bind(std::string_view path) override;

private:
    snapshot::SnapshotProvider inner_;
    std::vector<std::string>* log_;
};

} // namespace quorvin::test
