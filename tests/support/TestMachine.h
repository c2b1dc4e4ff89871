#pragma once

// Builders for recorded machines and a WMI provider that fails where a test asks it to.

#include "platform/snapshot/Snapshot.h"

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

// The one recorded machine the tests start from (machine.json beside this file, which the real
// programs also read in the end-to-end runs): a desktop with two modules whose board maker left
// the system's identity texts at their placeholders.
snapshot::Snapshot typicalMachine();
// The report both programs copy for it (machine-report.txt beside this file).
std::string typicalMachineReport();

// Texts a hostile machine reports: markup, query delimiters, a percent sign and text beyond ASCII.
inline const std::string hostileMaker = "Brindle & Sons <img src=x> #1 + 100% Grün 电脑";
inline const std::string hostileModel = "Q&A #7 + 50% Zoë";
inline const std::string hostileBoard = "Böard & Co #B + 5%";

// The typical machine with every identity text its own (the hostile ones above for maker, model
// and board), a third module, and every property name in lower case, as WMI's names are
// case-insensitive.
snapshot::Snapshot hostileMachine();

// The typical machine with one class's instances replaced (none, for a class that answers empty).
// Class and property names match in any case, as WMI's do.
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
