// The files every user may read: dmi/id and udev's memory database, which without the tables (an
// ordinary user) give the same answer wherever they carry the field, and /proc with /sys.
#include "platform/linux/UnprivilegedSources.h"
#include "FakeTree.h"
#include "PublishedMachine.h"
#include "SmbiosBuilder.h"
#include "platform/linux/LinuxSnapshot.h"

#include <gtest/gtest.h>

namespace quorvin::linux_hw {
namespace {

bool onlyTheTablesKnow(std::string_view property) {
    return property == "IdentifyingNumber" || property == "extclock";
}

TEST(UnprivilegedSources, AnswerAsTheTablesDoWhereverTheyCarryTheField) {
    testing::FakeTree rootView, userView;
    testing::writePublishedMachine(rootView);
    testing::writePublishedMachine(userView, false);
    std::filesystem::remove(userView.root() / "sys/class/dmi/id/product_serial");
    const LinuxReading root = readLinuxMachine({rootView.root(), "x86_64"});
    const LinuxReading user = readLinuxMachine({userView.root(), "x86_64"});

    for (const snapshot::ClassInstances& expected : root.snapshot.classes()) {
        const snapshot::ClassInstances* actual = user.snapshot.find(expected.className);
        ASSERT_TRUE(actual);
        ASSERT_EQ(actual->instances.size(), expected.instances.size()) << expected.className;
        ASSERT_FALSE(expected.instances.empty()) << expected.className;
        for (std::size_t i = 0; i < expected.instances.size(); ++i) {
            ASSERT_EQ(actual->instances[i].size(), expected.instances[i].size());
            for (std::size_t p = 0; p < expected.instances[i].size(); ++p) {
                const snapshot::Property& want = expected.instances[i][p];
                const snapshot::Property& got = actual->instances[i][p];
                EXPECT_EQ(got.name, want.name);
                if (onlyTheTablesKnow(want.name)) {
                    EXPECT_FALSE(want.value.isNull()) << want.name;
                    EXPECT_TRUE(got.value.isNull()) << want.name;
                } else {
                    EXPECT_EQ(got.value, want.value) << expected.className << "." << want.name;
                }
            }
        }
    }
    using Sources = std::vector<std::string>;
    EXPECT_EQ(root.sources.sourcesOf("Win32_PhysicalMemory"), Sources{"SMBIOS tables"});
    EXPECT_EQ(user.sources.sourcesOf("Win32_PhysicalMemory"), Sources{"udev memory database"});
    EXPECT_EQ(user.sources.sourcesOf("Win32_ComputerSystem"), (Sources{"dmi/id", "/proc"}));
    EXPECT_EQ(user.sources.sourcesOf("Win32_Processor"), Sources{"/proc"});
}

TEST(UnprivilegedSources, FillTheFieldsTheTablesLeaveOpen) {
    testing::FakeTree tree;
    const testing::Bytes table = testing::concat(
        {testing::biosStructure("Tables BIOS", std::nullopt), testing::endOfTable()});
    tree.write("sys/firmware/dmi/tables/smbios_entry_point",
               testing::entryPoint3(static_cast<std::uint32_t>(table.size()), 0));
    tree.write("sys/firmware/dmi/tables/DMI", table);
    tree.write("sys/class/dmi/id/bios_vendor", "Published BIOS\n");
    tree.write("sys/class/dmi/id/bios_version", "F12\n");
    const LinuxReading reading = readLinuxMachine({tree.root(), "x86_64"});
    const snapshot::Instance& bios = reading.snapshot.find("Win32_Bios")->instances.at(0);
    EXPECT_EQ(bios[0].value, ScanValue::text("Tables BIOS")) << "the tables come first";
    EXPECT_EQ(bios[1].value, ScanValue::text("F12"));
    EXPECT_EQ(reading.sources.sourcesOf("Win32_Bios"),
              (std::vector<std::string>{"SMBIOS tables", "dmi/id"}));
}

TEST(UnprivilegedSources, DmiIdFilesLoseOnlyTheirLastLineFeed) {
    testing::FakeTree tree;
    const struct {
        const char* content;
        std::optional<ScanValue> value;
    } cases[] = {
        {"F12\n", ScanValue::text("F12")},
        {"To Be Filled By O.E.M.   \n", ScanValue::text("To Be Filled By O.E.M.   ")},
        {"two\nlines\n", ScanValue::text("two\nlines")},
        {"no line feed", ScanValue::text("no line feed")},
        {"\n", ScanValue::null()},
        {"", ScanValue::null()},
    };
    for (const auto& c : cases) {
        tree.write("bios_version", c.content);
        EXPECT_EQ(readDmiIdAttribute(tree.root(), "bios_version"), c.value) << c.content;
    }
    EXPECT_EQ(readDmiIdAttribute(tree.root(), "board_name"), std::nullopt);
}

TEST(UnprivilegedSources, UdevEntriesWithGapsAndGarbageGiveNullsNotErrors) {
    const UdevMemoryFacts facts = parseUdevMemoryEntry(
        "E:MEMORY_ARRAY_MAX_CAPACITY=not a number\n"
        "E:MEMORY_ARRAY_NUM_DEVICES=3\n"
        "E:MEMORY_DEVICE_0_PRESENT=0\n" // an empty socket: no instance
        "E:MEMORY_DEVICE_0_LOCATOR=DIMM_A1\n"
        "E:MEMORY_DEVICE_1_SIZE=4294967296\n"
        "E:MEMORY_DEVICE_1_TYPE=ddr3\n"             // case as the table's name or not
        "E:MEMORY_DEVICE_1_SPEED_MTS=65535\n"       // unknown speed
        "E:MEMORY_DEVICE_1_LOCATOR=Not Specified\n" // a missing string
        "E:MEMORY_DEVICE_2_SIZE=12abc\n"
        "E:MEMORY_DEVICE_2_TYPE=Quantum RAM\n" // a type the table does not know
        "E:MEMORY_DEVICE_2_SPEED_MTS=3200\n"
        "E:MEMORY_DEVICE_2_LOCATOR=DIMM_B1  \n"
        "E:MEMORY_DEVICE_X_SIZE=1\n"
        "E:MEMORY_DEVICE_3\n"
        "E MEMORY_DEVICE_3_SIZE=1\n"
        "garbage without structure\n"
        "E:MEMORY_DEVICE_10_TYPE=DDR2 FB-DIMM");
    ASSERT_TRUE(facts.memoryArray);
    EXPECT_EQ((*facts.memoryArray)[0].value, ScanValue::null());
    EXPECT_EQ((*facts.memoryArray)[1].value, ScanValue::integer(3));
    ASSERT_EQ(facts.memoryDevices.size(), 3u);
    const auto value = [&](std::size_t device, std::size_t property) {
        return facts.memoryDevices[device][property].value;
    };
    EXPECT_EQ(value(0, 0), ScanValue::text("4294967296"));
    EXPECT_EQ(value(0, 1), ScanValue::integer(24));
    EXPECT_EQ(value(0, 2), ScanValue::null());
    EXPECT_EQ(value(0, 3), ScanValue::null());
    EXPECT_EQ(value(1, 0), ScanValue::null());
    EXPECT_EQ(value(1, 1), ScanValue::null());
    EXPECT_EQ(value(1, 2), ScanValue::integer(3200));
    EXPECT_EQ(value(1, 3), ScanValue::text("DIMM_B1  "));
    EXPECT_EQ(value(2, 1), ScanValue::integer(22)) << "device 10 after 2, by number";

    EXPECT_EQ(readUdevMemoryEntry("/nonexistent/+dmi:id"), std::nullopt);
    EXPECT_FALSE(parseUdevMemoryEntry("").memoryArray);
}

std::string x86Cpu(int processor, int physicalId, const char* mhz) {
    return "processor\t: " + std::to_string(processor) +
           "\nvendor_id\t: GenuineIntel\ncpu family\t: 6\n"
           "model name\t: Intel(R) Xeon(R) Gold 6130 CPU @ 2.10GHz\n"
           "cpu MHz\t\t: " +
           mhz + "\nphysical id\t: " + std::to_string(physicalId) +
           "\nflags\t\t: fpu vme de pse\n\n";
}

TEST(ProcFacts, MemTotal) {
    const std::vector<std::pair<std::string, std::optional<std::uint64_t>>> cases{
        {"MemTotal:       24683772 kB\nMemFree:  1 kB\n", 24683772ull * 1024},
        {"MemFree:  1 kB\nMemTotal:    8388608 kB\n", 8589934592ull},
        {"MemFree:  1 kB\n", std::nullopt},
        {"MemTotal:   lots kB\n", std::nullopt},
        {"MemTotal: 5 MB\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(parseMemTotal(text), bytes) << text;
}

TEST(ProcFacts, SystemTypeAsWindowsWordsIt) {
    EXPECT_EQ(systemTypeFor("x86_64"), ScanValue::text("x64-based PC"));
    EXPECT_EQ(systemTypeFor("aarch64"), ScanValue::text("ARM64-based PC"));
    EXPECT_EQ(systemTypeFor("i686"), ScanValue::text("X86-based PC"));
    EXPECT_EQ(systemTypeFor("riscv64"), ScanValue::null());
}

TEST(ProcFacts, OneProcessorPerPhysicalPackage) {
    testing::FakeTree tree;
    const std::string cpuinfo = x86Cpu(0, 0, "2100.000") + x86Cpu(1, 1, "2499.6") +
                                x86Cpu(2, 0, "3000.0") + x86Cpu(3, 1, "800.0");
    const auto packages = groupPackages(parseCpuInfo(cpuinfo), tree.root());
    ASSERT_EQ(packages.size(), 2u);
    EXPECT_EQ(packages[0].name, ScanValue::text("Intel(R) Xeon(R) Gold 6130 CPU @ 2.10GHz"));
    EXPECT_EQ(packages[0].manufacturer, ScanValue::text("GenuineIntel"));
    EXPECT_EQ(packages[0].currentClockMHz, ScanValue::integer(2100));
    EXPECT_EQ(packages[1].currentClockMHz, ScanValue::integer(2500));
}

TEST(ProcFacts, ClockRoundsHalfAwayFromZeroBetweenAnyBlanks) {
    testing::FakeTree tree;
    const std::vector<std::pair<std::string, std::int64_t>> cases{
        {"2499.5", 2500},    {"2499.4999", 2499},   {"0.5", 1}, {"0.49", 0}, {"\t3600.000\r", 3600},
        {"\v\f800.0 ", 800}, {"4999999.5", 5000000}};
    for (const auto& [mhz, rounded] : cases) {
        const auto packages = groupPackages(parseCpuInfo(x86Cpu(0, 0, mhz.c_str())), tree.root());
        ASSERT_EQ(packages.size(), 1u) << mhz;
        EXPECT_EQ(packages[0].currentClockMHz, ScanValue::integer(rounded)) << mhz;
    }
}

TEST(ProcFacts, PackageAndClockFromSysfsWhenCpuinfoLacksThem) {
    // An arm64 cpuinfo: no model name, no vendor, no MHz, no physical id.
    testing::FakeTree tree;
    tree.write("proc/cpuinfo", "processor\t: 0\nBogoMIPS\t: 50.00\nCPU implementer\t: 0x41\n\n"
                               "processor\t: 1\nBogoMIPS\t: 50.00\n\n"
                               "processor\t: 2\nBogoMIPS\t: 50.00\n\n");
    tree.write("proc/meminfo", "MemTotal:        4030368 kB\n");
    for (int cpu = 0; cpu < 3; ++cpu) {
        const std::string dir = "sys/devices/system/cpu/cpu" + std::to_string(cpu);
        tree.write(dir + "/topology/physical_package_id", cpu == 2 ? "1\n" : "0\n");
        tree.write(dir + "/cpufreq/scaling_cur_freq", cpu == 2 ? "1800000\n" : "1416000\n");
    }
    const ProcFacts facts = readProcFacts(tree.root() / "proc", tree.root() / "sys", "aarch64");
    EXPECT_EQ(facts.totalPhysicalMemory, ScanValue::text("4127096832"));
    EXPECT_EQ(facts.systemType, ScanValue::text("ARM64-based PC"));
    ASSERT_EQ(facts.packages.size(), 2u);
    EXPECT_EQ(facts.packages[0].name, ScanValue::null());
    EXPECT_EQ(facts.packages[0].manufacturer, ScanValue::null());
    EXPECT_EQ(facts.packages[0].currentClockMHz, ScanValue::integer(1416));
    EXPECT_EQ(facts.packages[1].currentClockMHz, ScanValue::integer(1800));
}

TEST(ProcFacts, MissingFilesLeaveValuesNull) {
    testing::FakeTree tree;
    const ProcFacts facts = readProcFacts(tree.root() / "proc", tree.root() / "sys", "x86_64");
    EXPECT_EQ(facts.totalPhysicalMemory, ScanValue::null());
    EXPECT_EQ(facts.systemType, ScanValue::text("x64-based PC"));
    EXPECT_TRUE(facts.packages.empty());
}

} // namespace
} // namespace quorvin::linux_hw
