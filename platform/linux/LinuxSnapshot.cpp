#include "LinuxSnapshot.h"

#include <algorithm>

namespace quorvin::linux_hw {

namespace {

void addAll(snapshot::Snapshot& snapshot, std::string_view className,
            const std::vector<snapshot::Instance>& instances) {
    for (const snapshot::Instance& instance : instances)
        snapshot.addInstance(className, instance);
}

SmbiosFindings findingsOf(const std::optional<SmbiosTable>& table) {
    if (!table)
        return {};
    return decodeFindings(table->structures());
}

} // namespace

snapshot::Snapshot buildLinuxSnapshot(const SmbiosFindings& smbios, const ProcFacts& proc) {
    snapshot::Snapshot snapshot;
    snapshot.declareScanClasses();
    snapshot.addInstance("Win32_ComputerSystem", {{"manufacturer", smbios.systemManufacturer},
                                                  {"Model", smbios.systemModel},
                                                  {"TotalPhysicalMemory", proc.totalPhysicalMemory},
                                                  {"SystemType", proc.systemType}});
    addAll(snapshot, "Win32_PhysicalMemoryArray", smbios.memoryArrays);
    addAll(snapshot, "Win32_PhysicalMemory", smbios.memoryDevices);

    const std::size_t processors =
        std::max(proc.packages.size(), smbios.processorExternalClocks.size());
    for (std::size_t i = 0; i < processors; ++i) {
        const ProcessorPackage package =
            i < proc.packages.size() ? proc.packages[i] : ProcessorPackage{};
        const ScanValue extClock = i < smbios.processorExternalClocks.size()
                                       ? smbios.processorExternalClocks[i]
                                       : ScanValue::null();
        snapshot.addInstance("Win32_Processor", {{"Name", package.name},
                                                 {"manufacturer", package.manufacturer},
                                                 {"CurrentClockSpeed", package.currentClockMHz},
                                                 {"extclock", extClock}});
    }
    addAll(snapshot, "Win32_Bios", smbios.bios);
    addAll(snapshot, "Win32_ComputerSystemProduct", smbios.products);
    addAll(snapshot, "Win32_Baseboard", smbios.baseboards);
    return snapshot;
}

snapshot::Snapshot readLinuxSnapshot(const LinuxRoots& roots) {
    return buildLinuxSnapshot(findingsOf(readKernelTables(roots.dmiTables)),
                              readProcFacts(roots.proc, roots.sys, roots.machine));
}

snapshot::Snapshot readLinuxSnapshot(const LinuxRoots& roots,
                                     const std::filesystem::path& smbiosDump) {
    return buildLinuxSnapshot(findingsOf(loadDumpFile(smbiosDump)),
                              readProcFacts(roots.proc, roots.sys, roots.machine));
}

std::unique_ptr<snapshot::SnapshotProvider> makeLinuxProvider(const LinuxRoots& roots) {
    return std::make_unique<snapshot::SnapshotProvider>(readLinuxSnapshot(roots));
}

} // namespace quorvin::linux_hw
