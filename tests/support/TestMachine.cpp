#include "TestMachine.h"

#include "TestMachineFiles.h"
#include "platform/snapshot/Snapshot.h"
#include "scan/values/ScanValue.h"

namespace quorvin::test {

namespace {

class ScriptedService : public wmi::WmiService {
public:
    ScriptedService(std::unique_ptr<wmi::WmiService> inner, const std::string& failQueryOf,
                    std::vector<std::string>* log)
        : inner_(std::move(inner))
        , failQueryOf_(failQueryOf)
        , log_(log) {}

    std::unique_ptr<wmi::WmiResultSet> execQuery(std::string_view wql) override {
        if (log_)
            log_->push_back("query " + std::string(wql));
        if (!failQueryOf_.empty() && wql.ends_with(failQueryOf_))
            throw wmi::WmiError("ExecQuery \"" + std::string(wql) + "\" failed: access denied");
        return inner_->execQuery(wql);
    }

private:
    std::unique_ptr<wmi::WmiService> inner_;
    std::string failQueryOf_;
    std::vector<std::string>* log_;
};

// A copy of the typical machine with each instance passed through edit.
template <typename Edit> snapshot::Snapshot editedTypicalMachine(Edit&& edit) {
    const snapshot::Snapshot typical = typicalMachine();
    snapshot::Snapshot out;
    out.declareScanClasses();
    for (const auto& c : typical.classes())
        for (Instance instance : c.instances)
            if (edit(c.className, instance))
                out.addInstance(c.className, std::move(instance));
    return out;
}

} // namespace

snapshot::Snapshot typicalMachine() {
    return snapshot::parseSnapshotJson(generated::machineJson);
}

std::string typicalMachineReport() {
    return generated::machineReport;
}

snapshot::Snapshot hostileMachine() {
    struct IdentityText {
        const char* className;
        const char* property;
        std::string text;
    };
    const IdentityText identity[] = {
        {"Win32_ComputerSystem", "Manufacturer", hostileMaker},
        {"Win32_ComputerSystem", "Model", hostileModel},
        {"Win32_ComputerSystemProduct", "IdentifyingNumber", "SN-0042"},
        {"Win32_ComputerSystemProduct", "Vendor", "Vendor Ltd"},
        {"Win32_ComputerSystemProduct", "Version", "Rev A"},
        {"Win32_BaseBoard", "Product", hostileBoard},
    };
    snapshot::Snapshot out = editedTypicalMachine([&](const std::string& name, Instance& instance) {
        for (Property& p : instance) {
            for (const IdentityText& each : identity)
                if (equalsIgnoreCase(name, each.className) &&
                    equalsIgnoreCase(p.name, each.property))
                    p.value = ScanValue::text(each.text);
            p.name = lowerAscii(p.name);
        }
        return true;
    });
    out.addInstance("Win32_PhysicalMemory", {{"capacity", txt("2147483648")},
                                             {"memorytype", num(24)},
                                             {"speed", num(1066)},
                                             {"devicelocator", txt("DIMM3")}});
    return out;
}

snapshot::Snapshot typicalMachineWithInstances(std::string_view className,
                                               const std::vector<Instance>& instances) {
    snapshot::Snapshot out = editedTypicalMachine(
        [&](const std::string& name, Instance&) { return !equalsIgnoreCase(name, className); });
    for (const Instance& instance : instances)
        out.addInstance(className, instance);
    return out;
}

snapshot::Snapshot typicalMachineWith(std::string_view className, std::string_view property,
                                      const ScanValue& value) {
    return editedTypicalMachine([&](const std::string& name, Instance& instance) {
        for (Property& p : instance)
            if (equalsIgnoreCase(name, className) && equalsIgnoreCase(p.name, property))
                p.value = value;
        return true;
    });
}

std::unique_ptr<wmi::WmiService> ScriptedProvider::bind(std::string_view path) {
    if (log_)
        log_->push_back("bind " + std::string(path));
    if (failBind)
        throw wmi::WmiError("Binding the WMI object path \"" + std::string(path) +
                            "\" failed: the WMI service is not running");
    return std::make_unique<ScriptedService>(inner_.bind(path), failQueryOf, log_);
}

} // namespace quorvin::test
