#include "LinuxSnapshot.h"

#include "scan/values/ScanValue.h"

#include <algorithm>

namespace quorvin::linux_hw {

namespace {

SmbiosFindings findingsOf(const SmbiosTable& table) {
    return decodeFindings(table.structures());
}

bool anyValue(const snapshot::Instance& instance) {
    return std::any_of(instance.begin(), instance.end(),
                       [](const snapshot::Property& p) { return !p.value.isNull(); });
}

bool anyNull(const snapshot::Instance& instance) {
    return std::any_of(instance.begin(), instance.end(),
                       [](const snapshot::Property& p) { return p.value.isNull(); });
}

// Gives each null property of the instance the fallback's value of the same name; true when
// the fallback supplied any.
bool fillNulls(snapshot::Instance& instance, const snapshot::Instance& fallback) {
    bool filled = false;
    for (snapshot::Property& p : instance) {
        if (!p.value.isNull())
            continue;
        for (const snapshot::Property& f : fallback)
            if (equalsIgnoreCase(f.name, p.name) && !f.value.isNull()) {
                p.value = f.value;
                filled = true;
            }
    }
    return filled;
}

bool knowsMemory(const SmbiosFindings& smbios) {
    return !smbios.memoryArrays.empty() || !smbios.memoryDevices.empty();
}

// Whether a field dmi/id could fill is missing from the tables.
bool leavesStringsOpen(const SmbiosFindings& smbios) {
    const auto firstIncomplete = [](const std::vector<snapshot::Instance>& instances) {
        return instances.empty() || anyNull(instances[0]);
    };
    return smbios.systemManufacturer.isNull() || smbios.systemModel.isNull() ||
           firstIncomplete(smbios.bios) || firstIncomplete(smbios.products) ||
           firstIncomplete(smbios.baseboards);
}

class ReadingBuilder {
public:
    explicit ReadingBuilder(const MachineFacts& facts)
        : facts_(facts) {
        reading_.snapshot.declareScanClasses();
    }

    void add(std::string_view className, snapshot::Instance instance, std::string_view source) {
        if (anyValue(instance))
            reading_.sources.note(className, source);
        reading_.snapshot.addInstance(className, std::move(instance));
    }

    // BIOS, product and board: every table structure, the first one completed from dmi/id
    // (which the kernel takes from the first structure of each type); without tables, dmi/id's.
    void addStrings(std::string_view className,
                    const std::vector<snapshot::Instance> SmbiosFindings::*fromTables) {
        const snapshot::Instance* fromDmiId = facts_.dmiId.find(className);
        const std::vector<snapshot::Instance> none;
        const auto& tables = facts_.smbios ? (*facts_.smbios).*fromTables : none;
        for (std::size_t i = 0; i < tables.size(); ++i) {
            snapshot::Instance instance = tables[i];
            const bool filled = i == 0 && fromDmiId && fillNulls(instance, *fromDmiId);
            if (anyValue(tables[i]))
                reading_.sources.note(className, smbiosSource);
            if (filled)
                reading_.sources.note(className, dmiIdSource);
            reading_.snapshot.addInstance(className, std::move(instance));
        }
        if (tables.empty() && fromDmiId)
            add(className, *fromDmiId, dmiIdSource);
    }

    void addComputerSystem() {
        const std::string_view className = "Win32_ComputerSystem";
        snapshot::Instance system{{"manufacturer", ScanValue::null()},
                                  {"Model", ScanValue::null()}};
        if (facts_.smbios) {
            system = {{"manufacturer", facts_.smbios->systemManufacturer},
                      {"Model", facts_.smbios->systemModel}};
            if (anyValue(system))
                reading_.sources.note(className, smbiosSource);
        }
        if (const snapshot::Instance* fromDmiId = facts_.dmiId.find(className))
            if (fillNulls(system, *fromDmiId))
                reading_.sources.note(className, dmiIdSource);
        if (!facts_.proc.totalPhysicalMemory.isNull() || !facts_.proc.systemType.isNull())
            reading_.sources.note(className, procSource);
        system.push_back({"TotalPhysicalMemory", facts_.proc.totalPhysicalMemory});
        system.push_back({"SystemType", facts_.proc.systemType});
        reading_.snapshot.addInstance(className, std::move(system));
    }

    // Array and modules come from one source, so that they describe the same memory: the tables
    // when they describe any, else udev's database.
    void addMemory() {
        if (facts_.smbios && knowsMemory(*facts_.smbios)) {
            for (const snapshot::Instance& array : facts_.smbios->memoryArrays)
                add("Win32_PhysicalMemoryArray", array, smbiosSource);
            for (const snapshot::Instance& module : facts_.smbios->memoryDevices)
                add("Win32_PhysicalMemory", module, smbiosSource);
        } else if (facts_.udevMemory) {
            if (facts_.udevMemory->memoryArray)
                add("Win32_PhysicalMemoryArray", *facts_.udevMemory->memoryArray, udevSource);
            for (const snapshot::Instance& module : facts_.udevMemory->memoryDevices)
                add("Win32_PhysicalMemory", module, udevSource);
        }
    }

    void addProcessors() {
        const ProcFacts& proc = facts_.proc;
        const std::vector<ScanValue> noClocks;
        const auto& clocks = facts_.smbios ? facts_.smbios->processorExternalClocks : noClocks;
        const std::size_t processors = std::max(proc.packages.size(), clocks.size());
        for (std::size_t i = 0; i < processors; ++i) {
            const ProcessorPackage package =
                i < proc.packages.size() ? proc.packages[i] : ProcessorPackage{};
            const ScanValue extClock = i < clocks.size() ? clocks[i] : ScanValue::null();
            if (!extClock.isNull())
                reading_.sources.note("Win32_Processor", smbiosSource);
            add("Win32_Processor",
                {{"Name", package.name},
                 {"manufacturer", package.manufacturer},
                 {"CurrentClockSpeed", package.currentClockMHz},
                 {"extclock", extClock}},
                procSource);
        }
    }

    LinuxReading take() { return std::move(reading_); }

private:
    const MachineFacts& facts_;
    LinuxReading reading_;
};

} // namespace

LinuxReading buildLinuxReading(const MachineFacts& facts) {
    ReadingBuilder builder(facts);
    // Classes in the order the scan queries them.
    builder.addComputerSystem();
    builder.addMemory();
    builder.addProcessors();
    builder.addStrings("Win32_Bios", &SmbiosFindings::bios);
    builder.addStrings("Win32_ComputerSystemProduct", &SmbiosFindings::products);
    builder.addStrings("Win32_Baseboard", &SmbiosFindings::baseboards);
    return builder.take();
}

MachineFacts readMachineFacts(const LinuxMachine& machine) {
    MachineFacts facts;
    if (const auto table = readKernelTables(machine.dmiTables()))
        facts.smbios = findingsOf(*table);
    // Tables that answer everything leave nothing for the other sources: root's scan reads
    // nothing else.
    if (!facts.smbios || leavesStringsOpen(*facts.smbios))
        facts.dmiId = readDmiIdInstances(machine.dmiId());
    if (!facts.smbios || !knowsMemory(*facts.smbios))
        facts.udevMemory = readUdevMemoryEntry(machine.udevDmiEntry());
    facts.proc = readProcFacts(machine.proc(), machine.sys(), machine.machine);
    return facts;
}

LinuxReading readLinuxMachine(const LinuxMachine& machine) {
    return buildLinuxReading(readMachineFacts(machine));
}

LinuxReading readLinuxMachine(const LinuxMachine& machine,
                              const std::filesystem::path& smbiosDump) {
    MachineFacts facts;
    facts.smbios = findingsOf(loadDumpFile(smbiosDump));
    facts.proc = readProcFacts(machine.proc(), machine.sys(), machine.machine);
    return buildLinuxReading(facts);
}

std::unique_ptr<snapshot::SnapshotProvider> makeLinuxProvider(const LinuxMachine& machine) {
    return std::make_unique<snapshot::SnapshotProvider>(readLinuxMachine(machine).snapshot);
}

} // namespace quorvin::linux_hw
