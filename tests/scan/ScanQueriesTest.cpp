// The scan's query steps over recorded machines: what lands in the record, the module lists and
// the order of the steps.

#include "TestMachine.h"

#include "results/HeadlessResultsWindow.h"
#include "scan/SystemQueries.h"

#include <gtest/gtest.h>

using namespace quorvin;
using namespace quorvin::test;

namespace {

// A headless window that also writes its load into a log shared with the provider.
struct Scan {
    explicit Scan(snapshot::Snapshot snapshot)
        : provider(std::move(snapshot), &log)
        , window(ScanEnvironment{provider, NumberFormat{"."}, "store.test"}) {
        window.onLoad = [this] {
            log.push_back("load, module count " + std::to_string(record().scanModuleCount));
        };
    }
    std::vector<std::string> log;
    ScriptedProvider provider;
    HeadlessResultsWindow window;

    const ScanRecord& record() const { return window.record(); }
    const std::vector<std::string>& rows(ModuleList list) const { return window.rows(list); }
};

snapshot::Snapshot machineWithModules(const std::vector<ModuleSpec>& modules) {
    std::vector<Instance> instances;
    for (const auto& m : modules)
        instances.push_back(moduleInstance(m));
    return typicalMachineWithInstances("Win32_PhysicalMemory", instances);
}

TEST(ScanQueries, TwoModulesGiveTheRunningTextsAndAlignedRows) {
    Scan scan(typicalMachine());
    EXPECT_EQ(scan.window.getQuorvin(), ScanValue::text("Success"));
    const ScanRecord& r = scan.record();
    EXPECT_EQ(r.scanModCapacities, txt("8192 MB,4096 MB,"));
    EXPECT_EQ(r.scanModTypes, txt("24,24,"));
    EXPECT_EQ(r.scanModSpeeds, txt("1600 MHz,1333 MHz,"));
    EXPECT_EQ(r.scanModLocators, txt("DIMM0,DIMM2,"));
    EXPECT_EQ(r.scanModuleCount, 2);
    EXPECT_EQ(scan.rows(ModuleList::Slots), (std::vector<std::string>{"DIMM0", "DIMM2"}));
    EXPECT_EQ(scan.rows(ModuleList::Memory), (std::vector<std::string>{"8192 MB", "4096 MB"}));
    EXPECT_EQ(scan.rows(ModuleList::Speed), (std::vector<std::string>{"1600 MHz", "1333 MHz"}));
}

struct ModuleCase {
    const char* name;
    std::vector<ModuleSpec> modules;
    const char* capacities;
    const char* types;
    const char* speeds;
    const char* locators;
    std::vector<std::string> slotRows, memoryRows, speedRows;
};

class ModuleCollectionTest : public testing::TestWithParam<ModuleCase> {};

TEST_P(ModuleCollectionTest, FillsTextsRowsAndCounter) {
    const ModuleCase& c = GetParam();
    Scan scan(machineWithModules(c.modules));
    scan.window.getQuorvin();
    const ScanRecord& r = scan.record();
    const auto textOrEmpty = [](const char* s) { return *s ? txt(s) : ScanValue(); };
    EXPECT_EQ(r.scanModCapacities, textOrEmpty(c.capacities));
    EXPECT_EQ(r.scanModTypes, textOrEmpty(c.types));
    EXPECT_EQ(r.scanModSpeeds, textOrEmpty(c.speeds));
    EXPECT_EQ(r.scanModLocators, textOrEmpty(c.locators));
    EXPECT_EQ(r.scanModuleCount, static_cast<int>(c.modules.size()));
    EXPECT_EQ(scan.rows(ModuleList::Slots), c.slotRows);
    EXPECT_EQ(scan.rows(ModuleList::Memory), c.memoryRows);
    EXPECT_EQ(scan.rows(ModuleList::Speed), c.speedRows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModuleCollectionTest,
    testing::Values(ModuleCase{"NoModule", {}, "", "", "", "", {}, {}, {}},
                    ModuleCase{"OneModule",
                               {{txt("2147483648"), num(26), num(3200), txt("ChannelA-DIMM0")}},
                               "2048 MB,",
                               "26,",
                               "3200 MHz,",
                               "ChannelA-DIMM0,",
                               {"ChannelA-DIMM0"},
                               {"2048 MB"},
                               {"3200 MHz"}},
                    ModuleCase{"FractionalMegabytes",
                               {{txt("1073217536"), num(0), num(667), txt("S1")}},
                               "1023.5 MB,",
                               "0,",
                               "667 MHz,",
                               "S1,",
                               {"S1"},
                               {"1023.5 MB"},
                               {"667 MHz"}},
                    ModuleCase{"WithoutSpeedOrCapacity",
                               {{ScanValue::null(), num(24), ScanValue::null(), txt("DIMM1")}},
                               " MB,",
                               "24,",
                               " MHz,",
                               "DIMM1,",
                               {"DIMM1"},
                               {" MB"},
                               {" MHz"}},
                    ModuleCase{"WithoutLocator",
                               {{txt("1048576"), ScanValue::null(), num(800), ScanValue::null()},
                                {txt("1048576"), num(20), num(800), txt("B")}},
                               "1 MB,1 MB,",
                               ",20,",
                               "800 MHz,800 MHz,",
                               ",B,",
                               {"", "B"},
                               {"1 MB", "1 MB"},
                               {"800 MHz", "800 MHz"}}),
    [](const testing::TestParamInfo<ModuleCase>& info) { return info.param.name; });

struct SizeCase {
    const char* totalPhysicalMemory;
    std::int64_t maxCapacityKB;
    double installedGB;
    double maxGB;
};

class SizeConversionTest : public testing::TestWithParam<SizeCase> {};

TEST_P(SizeConversionTest, ConvertsToGigabytesRoundedToTwoDecimals) {
    snapshot::Snapshot s;
    s.declareScanClasses();
    s.addInstance("Win32_ComputerSystem",
                  {{"Manufacturer", txt("M")},
                   {"Model", txt("X")},
                   {"TotalPhysicalMemory", txt(GetParam().totalPhysicalMemory)},
                   {"SystemType", txt("x64-based PC")}});
    s.addInstance("Win32_PhysicalMemoryArray",
                  {{"MaxCapacity", num(GetParam().maxCapacityKB)}, {"MemoryDevices", num(2)}});
    Scan scan(std::move(s));
    scan.window.getQuorvin();
    EXPECT_EQ(scan.record().scanInstalledGB, GetParam().installedGB);
    EXPECT_EQ(scan.record().scanMaxGB, GetParam().maxGB);
}

INSTANTIATE_TEST_SUITE_P(Figures, SizeConversionTest,
                         testing::Values(SizeCase{"8589934592", 33554432, 8.0, 32.0},
                                         SizeCase{"17098874880", 524288, 15.92, 0.5},
                                         SizeCase{"134217728", 2097151, 0.12, 2.0},
                                         SizeCase{"0", 0, 0.0, 0.0},
                                         SizeCase{"10737595407401", 393216, 10000.17, 0.38},
                                         SizeCase{"10737777943511", 131072, 10000.33, 0.12}));

TEST(ScanQueries, SizesWithoutValueAreStoredAsZero) {
    snapshot::Snapshot s;
    s.declareScanClasses();
    s.addInstance("Win32_ComputerSystem", {{"Manufacturer", txt("M")},
                                           {"Model", txt("X")},
                                           {"TotalPhysicalMemory", ScanValue::null()},
                                           {"SystemType", txt("x64-based PC")}});
    s.addInstance("Win32_PhysicalMemoryArray",
                  {{"MaxCapacity", ScanValue::null()}, {"MemoryDevices", num(2)}});
    Scan scan(std::move(s));
    EXPECT_EQ(scan.window.getQuorvin(), txt("Success"));
    EXPECT_EQ(scan.record().scanInstalledGB, 0.0);
    EXPECT_EQ(scan.record().scanMaxGB, 0.0);
}

TEST(ScanQueries, ASizeThatIsNoNumberStopsTheScanWithItsName) {
    snapshot::Snapshot s = typicalMachine();
    snapshot::Snapshot bad;
    bad.declareScanClasses();
    bad.addInstance("Win32_ComputerSystem", {{"Manufacturer", txt("M")},
                                             {"Model", txt("X")},
                                             {"TotalPhysicalMemory", txt("lots")},
                                             {"SystemType", txt("x64-based PC")}});
    Scan scan(std::move(bad));
    try {
        scan.window.getQuorvin();
        FAIL() << "no error";
    } catch (const ScanError& e) {
        EXPECT_STREQ(e.what(),
                     "Win32_ComputerSystem.TotalPhysicalMemory is not a number: \"lots\"");
    }
}

TEST(ScanQueries, TheLastInstanceDeliveredWins) {
    snapshot::Snapshot s = typicalMachine();
    s.addInstance("Win32_Processor", {{"Name", txt("Second CPU")},
                                      {"Manufacturer", txt("AuthenticAMD")},
                                      {"CurrentClockSpeed", num(2400)},
                                      {"ExtClock", ScanValue::null()}});
    s.addInstance("Win32_PhysicalMemoryArray",
                  {{"MaxCapacity", num(8388608)}, {"MemoryDevices", num(8)}});
    Scan scan(std::move(s));
    scan.window.getQuorvin();
    const ScanRecord& r = scan.record();
    EXPECT_EQ(r.scanCpuName, txt("Second CPU"));
    EXPECT_EQ(r.scanCpuManufacturer, txt("AuthenticAMD"));
    EXPECT_EQ(r.scanCpuClock, num(2400));
    EXPECT_EQ(r.scanCpuBusClock, ScanValue::null());
    EXPECT_EQ(r.scanMaxGB, 8.0);
    EXPECT_EQ(r.scanTotalSlots, num(8));
}

TEST(ScanQueries, NoMemoryArrayLeavesZeroAndEmpty) {
    Scan scan(typicalMachineWithInstances("Win32_PhysicalMemoryArray", {}));
    EXPECT_EQ(scan.window.getQuorvin(), txt("Success"));
    EXPECT_EQ(scan.record().scanMaxGB, 0.0);
    EXPECT_TRUE(scan.record().scanTotalSlots.isEmpty());
    EXPECT_EQ(scan.record().scanCpuName, txt("Brand CPU 3.40GHz")); // the scan went on
}

TEST(ScanQueries, StepsRunInTheirFixedOrderAndTheWindowLoadsBeforeTheFirstModule) {
    Scan scan(typicalMachine());
    scan.window.getQuorvin();
    const std::vector<std::string> expected{
        "bind winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2",
        "query Select * from Win32_ComputerSystem",
        "query Select * from Win32_PhysicalMemoryArray",
        "load, module count 0",
        "query Select * from Win32_PhysicalMemory",
        "query Select * from Win32_Processor",
        "query Select * from Win32_Bios",
        "query Select * from Win32_ComputerSystemProduct",
        "query Select * from Win32_Baseboard",
    };
    EXPECT_EQ(scan.log, expected);
    EXPECT_EQ(scan.window.loadCount(), 1);
    // The load blanks all 18 value labels before the lists are cleared.
    const auto& controls = scan.window.log();
    ASSERT_GE(controls.size(), 22u);
    EXPECT_EQ(controls[0], "load");
    EXPECT_EQ(controls[1], "caption Label21 ");
    EXPECT_EQ(controls[18], "caption Label41 ");
    EXPECT_EQ(controls[19], "clear slotsLst");
    EXPECT_EQ(controls[20], "clear memoryLst");
    EXPECT_EQ(controls[21], "clear speedLst");
}

TEST(ScanQueries, ABindFailureWritesNothingButTheWorkingValues) {
    Scan scan(typicalMachine());
    scan.provider.failBind = true;
    try {
        scan.window.getQuorvin();
        FAIL() << "no error";
    } catch (const wmi::WmiError& e) {
        EXPECT_NE(std::string(e.what()).find("the WMI service is not running"), std::string::npos);
    }
    ScanRecord expected;
    expected.scanComputer = txt(".");
    expected.scanUnit = 1024.0;
    EXPECT_EQ(scan.record(), expected);
    EXPECT_FALSE(scan.window.isLoaded());
    EXPECT_TRUE(scan.window.reportText().empty());
}

TEST(ScanQueries, AQueryFailureMidScanKeepsEarlierFields) {
    Scan scan(typicalMachine());
    scan.provider.failQueryOf = "Win32_Bios";
    EXPECT_THROW(scan.window.getQuorvin(), wmi::WmiError);
    const ScanRecord& r = scan.record();
    EXPECT_EQ(r.scanSysModel, txt("System Product Name"));
    EXPECT_EQ(r.scanModuleCount, 2);
    EXPECT_EQ(r.scanCpuClock, num(3400));
    EXPECT_TRUE(r.scanBiosManufacturer.isEmpty());
    EXPECT_TRUE(r.scanBoardProduct.isEmpty());
    EXPECT_TRUE(scan.window.navigations().empty());
    EXPECT_TRUE(scan.window.reportText().empty());
}

TEST(ScanQueries, AFailedPropertyReadNamesPropertyAndClass) {
    snapshot::Snapshot s = typicalMachine();
    s.addInstance(
        "Win32_PhysicalMemory",
        {{"Capacity", txt("1048576")}, {"MemoryType", num(24)}, {"DeviceLocator", txt("DIMM3")}});
    Scan scan(std::move(s));
    try {
        scan.window.getQuorvin();
        FAIL() << "no error";
    } catch (const wmi::WmiError& e) {
        EXPECT_STREQ(e.what(), "Reading property 'speed' of Win32_PhysicalMemory failed: the "
                               "instance has no such property");
    }
    // The texts already took this module's capacity and type; the count stayed at 2.
    EXPECT_EQ(scan.record().scanModCapacities, txt("8192 MB,4096 MB,1 MB,"));
    EXPECT_EQ(scan.record().scanModTypes, txt("24,24,24,"));
    EXPECT_EQ(scan.record().scanModuleCount, 2);
}

TEST(ScanQueries, TheModuleCounterOverflowsPast32767AfterTheRowsAreIn) {
    std::vector<ModuleSpec> modules(32768, ModuleSpec{txt("1048576"), num(24), num(800), txt("S")});
    Scan scan(machineWithModules(modules));
    try {
        scan.window.getQuorvin();
        FAIL() << "no error";
    } catch (const ScanError& e) {
        EXPECT_NE(std::string(e.what()).find("32767"), std::string::npos);
    }
    EXPECT_EQ(scan.record().scanModuleCount, 32767);
    EXPECT_EQ(scan.rows(ModuleList::Slots).size(), 32768u);
    EXPECT_EQ(scan.rows(ModuleList::Memory).size(), 32768u);
    EXPECT_EQ(scan.rows(ModuleList::Speed).size(), 32768u);
    EXPECT_TRUE(scan.record().scanCpuName.isEmpty()); // the processor query never ran
}

TEST(ScanQueries, AnUnknownClassFailsItsQuery) {
    snapshot::Snapshot s; // not even the scan's classes are known
    Scan scan(std::move(s));
    try {
        scan.window.getQuorvin();
        FAIL() << "no error";
    } catch (const wmi::WmiError& e) {
        EXPECT_STREQ(e.what(), "ExecQuery \"Select * from Win32_ComputerSystem\" failed: invalid "
                               "class Win32_ComputerSystem");
    }
}

} // namespace
