#include "WineCases.h"

#include "platform/windows/ComWmiProvider.h"
#include "results/HeadlessResultsWindow.h"

namespace quorvin::checks {

void addWineScanCases(CheckRunner& runner) {
    runner.add("a full scan stops at the module speed Wine does not have", [](Checker& checker) {
        windows::ComWmiProvider provider;
        HeadlessResultsWindow window(ScanEnvironment{provider, NumberFormat{}, "store.example"});
        expectThrows<wmi::WmiError>(
            checker, [&] { window.getQuorvin(); },
            {"Reading property 'speed' of Win32_PhysicalMemory failed: no such property",
             "WBEM_E_NOT_FOUND (HRESULT 0x80041002)"},
            "getQuorvin");

        // What came before the failure stays; nothing after it ran.
        const ScanRecord& record = window.record();
        checker.expect(record.scanSysManufacturer.isText(), "the computer system was read");
        checker.expectEqual(describe(record.scanModTypes), describe(ScanValue::text("9,")),
                            "the first module's type");
        checker.expect(record.scanModSpeeds.isEmpty(), "no module speed was written");
        checker.expectEqual(record.scanModuleCount, 0, "modules counted");
        checker.expect(window.rows(ModuleList::Slots).empty(), "no slot row was added");
        checker.expect(record.scanCpuName.isEmpty(), "the processor was not queried");
        checker.expect(window.navigations().empty(), "the store page was not opened");
        checker.expect(window.reportText().empty(), "no report was made");
    });
}

} // namespace quorvin::checks
