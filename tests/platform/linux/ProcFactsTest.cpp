#include "platform/linux/ProcFacts.h"
#include "FakeTree.h"

#include <gtest/gtest.h>

namespace quorvin::linux_hw {
namespace {

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
