// A whole scan through the headless results window, which Wine's WMI cannot complete.

#include "ThrowsNaming.h"
#include "WineWmiTest.h"

#include "platform/windows/ComWmi.h"
#include "results/HeadlessResultsWindow.h"

#include <gtest/gtest.h>

using namespace quorvin;

namespace {

using WineScan = checks::WineWmiTest;

TEST_F(WineScan, StopsAtTheModuleSpeedWineDoesNotHave) {
    windows::ComWmiProvider provider;
    HeadlessResultsWindow window(ScanEnvironment{provider, NumberFormat{}, "store.example"});
    EXPECT_TRUE(checks::throwsNaming<wmi::WmiError>(
        [&] { window.getQuorvin(); },
        {"Reading property 'speed' of Win32_PhysicalMemory failed: no such property",
         "WBEM_E_NOT_FOUND (HRESULT 0x80041002)"}))
        << "getQuorvin";

    // What came before the failure stays; nothing after it ran.
    const ScanRecord& record = window.record();
    EXPECT_TRUE(record.scanSysManufacturer.isText())
        << "the computer system was read: " << describe(record.scanSysManufacturer);
    EXPECT_EQ(describe(record.scanModTypes), describe(ScanValue::text("9,")))
        << "the first module's type";
    EXPECT_TRUE(record.scanModSpeeds.isEmpty())
        << "no module speed was written: " << describe(record.scanModSpeeds);
    EXPECT_EQ(record.scanModuleCount, 0) << "modules counted";
    EXPECT_TRUE(window.rows(ModuleList::Slots).empty()) << "no slot row was added";
    EXPECT_TRUE(record.scanCpuName.isEmpty())
        << "the processor was not queried: " << describe(record.scanCpuName);
    EXPECT_TRUE(window.navigations().empty()) << "the store page was not opened";
    EXPECT_TRUE(window.reportText().empty()) << "no report was made";
}

} // namespace
