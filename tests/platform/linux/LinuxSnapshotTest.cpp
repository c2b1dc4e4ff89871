#include "platform/linux/LinuxSnapshot.h"
#include "FakeTree.h"
#include "SmbiosBuilder.h"
#include "results/HeadlessResultsWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvin::linux_hw {
namespace {

using testing::Bytes;

// A machine's /proc and /sys with one two-core package and 16 GB seen by the kernel.
LinuxMachine fakeMachine(testing::FakeTree& tree) {
    tree.write("proc/meminfo", "MemTotal:       16318480 kB\n");
    tree.write("proc/cpuinfo",
               "processor\t: 0\nvendor_id\t: AuthenticAMD\nmodel name\t: AMD Ryzen 5 3600\n"
               "cpu MHz\t\t: 3600.000\nphysical id\t: 0\n\n"
               "processor\t: 1\nvendor_id\t: AuthenticAMD\nmodel name\t: AMD Ryzen 5 3600\n"
               "cpu MHz\t\t: 2200.000\nphysical id\t: 0\n\n");
    std::filesystem::create_directories(tree.root() / "sys");
    return LinuxMachine{tree.root(), "x86_64"};
}

std::size_t count(const snapshot::Snapshot& s, std::string_view className) {
    const snapshot::ClassInstances* c = s.find(className);
    EXPECT_TRUE(c) << className;
    return c ? c->instances.size() : 0;
}

ScanValue scan(snapshot::Snapshot snapshot, std::string* report = nullptr) {
    snapshot::SnapshotProvider provider(std::move(snapshot));
    HeadlessResultsWindow window(ScanEnvironment{provider, NumberFormat{"."}, "store.example"});
    ScanValue result = window.getQuorvin();
    if (report)
        *report = window.reportText();
    return result;
}

TEST(LinuxSnapshot, WithoutSmbiosOnlyKernelFactsAndTheScanSucceeds) {
    testing::FakeTree tree;
    const snapshot::Snapshot snapshot = readLinuxMachine(fakeMachine(tree)).snapshot;
    EXPECT_EQ(count(snapshot, "Win32_ComputerSystem"), 1u);
    EXPECT_EQ(count(snapshot, "Win32_Processor"), 1u);
    for (const char* smbiosOnly : {"Win32_PhysicalMemoryArray", "Win32_PhysicalMemory",
                                   "Win32_Bios", "Win32_ComputerSystemProduct", "Win32_Baseboard"})
        EXPECT_EQ(count(snapshot, smbiosOnly), 0u) << smbiosOnly;
    EXPECT_EQ(scan(snapshot), ScanValue::text("Success"));
}

TEST(LinuxSnapshot, UnreadableOrGarbageKernelTablesCountAsNoSmbios) {
    testing::FakeTree tree;
    LinuxMachine roots = fakeMachine(tree);
    tree.write("sys/firmware/dmi/tables/smbios_entry_point", std::string(31, 'z'));
    tree.write("sys/firmware/dmi/tables/DMI", testing::realisticTable());
    EXPECT_EQ(count(readLinuxMachine(roots).snapshot, "Win32_PhysicalMemory"), 0u);

    // An entry point without its table file.
    testing::FakeTree other;
    roots = fakeMachine(other);
    other.write("sys/firmware/dmi/tables/smbios_entry_point", testing::entryPoint3(100, 0));
    EXPECT_EQ(count(readLinuxMachine(roots).snapshot, "Win32_Bios"), 0u);
}

class KernelTables : public ::testing::TestWithParam<int> {};

TEST_P(KernelTables, FullScanOverTheKernelsCopyOfTheTables) {
    testing::FakeTree tree;
    const LinuxMachine roots = fakeMachine(tree);
    std::uint16_t structures = 0;
    const Bytes table = testing::realisticTable(&structures);
    tree.write("sys/firmware/dmi/tables/smbios_entry_point",
               GetParam() == 3
                   ? testing::entryPoint3(static_cast<std::uint32_t>(table.size()), 0x7A3E0000)
                   : testing::entryPoint2(static_cast<std::uint16_t>(table.size()), structures,
                                          0x000E8000));
    tree.write("sys/firmware/dmi/tables/DMI", table);

    const snapshot::Snapshot snapshot = readLinuxMachine(roots).snapshot;
    EXPECT_EQ(count(snapshot, "Win32_PhysicalMemory"), 2u) << "two empty sockets left out";
    EXPECT_EQ(count(snapshot, "Win32_Processor"), 1u);
    const auto& processor = snapshot.find("Win32_Processor")->instances[0];
    EXPECT_EQ(processor[3].name, "extclock");
    EXPECT_EQ(processor[3].value, ScanValue::integer(100));
    EXPECT_EQ(processor[2].value, ScanValue::integer(3600));

    std::string report;
    ASSERT_EQ(scan(snapshot, &report), ScanValue::text("Success"));
    EXPECT_NE(report.find("Capacity: 8192 MB,8192 MB,\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Slots: ChannelA-DIMM0,ChannelB-DIMM0,\r\n"), std::string::npos)
        << report;
    EXPECT_NE(report.find("Total Slots: 4"), std::string::npos) << report;
}

INSTANTIATE_TEST_SUITE_P(EntryPointVersions, KernelTables, ::testing::Values(2, 3));

TEST(LinuxSnapshot, DumpFilesOfBothVersionsGiveTheSameAnswer) {
    testing::FakeTree tree;
    const LinuxMachine roots = fakeMachine(tree);
    std::uint16_t structures = 0;
    const Bytes table = testing::realisticTable(&structures);
    const auto v2 = tree.write("v2.bin", testing::dumpFile2(table, structures));
    const auto v3 = tree.write("v3.bin", testing::dumpFile3(table));
    const snapshot::Snapshot a = readLinuxMachine(roots, v2).snapshot;
    const snapshot::Snapshot b = readLinuxMachine(roots, v3).snapshot;
    ASSERT_EQ(count(a, "Win32_PhysicalMemory"), 2u);
    for (const auto& c : a.classes()) {
        const snapshot::ClassInstances* other = b.find(c.className);
        ASSERT_TRUE(other);
        ASSERT_EQ(c.instances.size(), other->instances.size()) << c.className;
        for (std::size_t i = 0; i < c.instances.size(); ++i)
            for (std::size_t p = 0; p < c.instances[i].size(); ++p)
                EXPECT_EQ(c.instances[i][p].value, other->instances[i][p].value) << c.className;
    }
}

TEST(LinuxSnapshot, DumpFileErrorsNameTheFileAndTheFault) {
    testing::FakeTree tree;
    const LinuxMachine roots = fakeMachine(tree);
    const auto check = [&](const std::filesystem::path& file, const std::string& fault) {
        try {
            readLinuxMachine(roots, file).snapshot;
            ADD_FAILURE() << "no error for " << file;
        } catch (const std::runtime_error& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(file.string()), std::string::npos) << message;
            EXPECT_NE(message.find(fault), std::string::npos) << message;
        }
    };
    check(tree.root() / "missing.bin", "No such file or directory");
    check(tree.write("text.bin", "hello, this is not a table at all"), "no SMBIOS entry point");
    Bytes shortDump = testing::dumpFile3(testing::realisticTable());
    shortDump.resize(0x20);
    check(tree.write("short.bin", shortDump), "past the end");
}

TEST(LinuxSnapshot, TruncatedDumpYieldsFewerModules) {
    testing::FakeTree tree;
    const LinuxMachine roots = fakeMachine(tree);
    Bytes dump = testing::dumpFile3(testing::realisticTable());
    const auto full = readLinuxMachine(roots, tree.write("full.bin", dump)).snapshot;
    // Cut inside the second module's strings, so its string area has no end.
    const std::string marker = "ChannelB-DIMM0";
    const auto at = std::search(dump.begin(), dump.end(), marker.begin(), marker.end());
    ASSERT_NE(at, dump.end());
    dump.erase(at + 4, dump.end());
    const auto cut = readLinuxMachine(roots, tree.write("cut.bin", dump)).snapshot;
    EXPECT_EQ(count(full, "Win32_PhysicalMemory"), 2u);
    EXPECT_EQ(count(cut, "Win32_PhysicalMemory"), 1u);
    EXPECT_EQ(scan(cut), ScanValue::text("Success"));
}

} // namespace
} // namespace quorvin::linux_hw
