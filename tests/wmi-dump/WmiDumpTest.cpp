// Runs the built wmi-dump the way a support engineer would and checks its exit codes and output.
#include "CommandRun.h"
#include "FakeTree.h"
#include "PublishedMachine.h"
#include "SmbiosBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvin {
namespace {

using ToolRun = testing::CommandRun;

constexpr const char* withStderr = " 2>&1";

// Runs wmi-dump with the arguments (already shell-quoted) and an optional environment prefix;
// `streams` redirects its output streams, by default dropping stderr.
ToolRun wmiDump(const std::string& args, const std::string& environment = "",
                const std::string& streams = " 2>/dev/null") {
    return testing::runCommand(environment + " '" WMI_DUMP_PATH "' " + args + streams);
}

std::string quoted(const std::filesystem::path& p) {
    std::string q(1, '\'');
    q += p.string();
    q += '\'';
    return q;
}

struct BadRun {
    std::string args;
    const char* messagePart;
};

TEST(WmiDump, BadArgumentsAndFilesExitWithTwoAndOneLine) {
    testing::FakeTree tree;
    const auto garbage = tree.write("garbage.bin", "not an SMBIOS dump at all, just words");
    const auto badJson = tree.write("bad.json", "{ this is not json");
    const auto nested =
        tree.write("nested.json", R"({"Speed": [1600], "__CLASS": "Win32_PhysicalMemory"})");
    const auto fifo = tree.root() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A machine tree whose memory figures are a FIFO.
    std::filesystem::create_directories(tree.root() / "machine/proc");
    ASSERT_EQ(mkfifo((tree.root() / "machine/proc/meminfo").c_str(), 0600), 0);
    const std::vector<BadRun> cases{
        {"--bogus", "unknown argument"},
        {"--smbios", "needs a file name"},
        {"--snapshot", "needs a file name"},
        {"--json --report", "cannot be combined"},
        {"--json --json", "--json is given more than once"},
        {"--smbios " + quoted(garbage) + " --smbios " + quoted(garbage), "more than once"},
        {"--smbios " + quoted(tree.root() / "missing.bin"), "No such file or directory"},
        {"--smbios " + quoted(tree.root()), "Is a directory"},
        {"--smbios /dev/zero", "not a regular file"},
        {"--snapshot " + quoted(fifo), "it is a FIFO, not a regular file"},
        {"--snapshot /dev/urandom", "not a regular file"},
        {"--json --smbios " + quoted(garbage), "no SMBIOS entry point"},
        {"--report --snapshot " + quoted(badJson), "not valid JSON at line 1, column 4"},
        {"--report --snapshot " + quoted(nested), "Win32_PhysicalMemory.Speed"},
        {"--smbios " + quoted(garbage) + " --snapshot " + quoted(badJson), "cannot be combined"},
        {"--root " + quoted(tree.root() / "machine"), "not a regular file"},
    };
    for (const auto& c : cases) {
        const ToolRun run = wmiDump(c.args, "", withStderr);
        EXPECT_EQ(run.exitCode, 2) << c.args << ": " << run.out;
        ASSERT_FALSE(run.out.empty()) << c.args;
        EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << c.args << ": " << run.out;
        EXPECT_EQ(run.out.rfind("wmi-dump: ", 0), 0u) << run.out;
        EXPECT_NE(run.out.find(c.messagePart), std::string::npos) << c.args << ": " << run.out;
    }
}

TEST(WmiDump, AFailedWriteIsAnErrorWithItsReason) {
    const BadRun cases[]{
        {"--help 2>&1 >/dev/full", "No space left on device"},
        {"--json 2>&1 >/dev/full", "No space left on device"},
        {"--help 2>&1 >&-", "Bad file descriptor"},
    };
    for (const auto& c : cases) {
        const ToolRun failed = wmiDump(c.args, "", "");
        EXPECT_EQ(failed.exitCode, 1) << c.args;
        EXPECT_NE(failed.out.find("wmi-dump: Writing to standard output failed: "),
                  std::string::npos)
            << c.args << ": " << failed.out;
        EXPECT_NE(failed.out.find(c.messagePart), std::string::npos) << failed.out;
    }
}

TEST(WmiDump, JsonOverADumpFileHasEveryClassAndPropertyWithItsKind) {
    testing::FakeTree tree;
    std::uint16_t count = 0;
    const auto table = testing::realisticTable(&count);
    const auto file = tree.write("machine.bin", testing::dumpFile2(table, count));
    const ToolRun run = wmiDump("--json --smbios " + quoted(file));
    ASSERT_EQ(run.exitCode, 0);
    const auto json = nlohmann::ordered_json::parse(run.out);

    const std::vector<std::pair<std::string, std::vector<std::string>>> expected{
        {"Win32_ComputerSystem", {"manufacturer", "Model", "TotalPhysicalMemory", "SystemType"}},
        {"Win32_PhysicalMemoryArray", {"MaxCapacity", "MemoryDevices"}},
        {"Win32_PhysicalMemory", {"capacity", "memorytype", "speed", "devicelocator"}},
        {"Win32_Processor", {"Name", "manufacturer", "CurrentClockSpeed", "extclock"}},
        {"Win32_Bios", {"manufacturer", "SMBIOSBIOSVersion"}},
        {"Win32_ComputerSystemProduct", {"IdentifyingNumber", "Vendor", "Version"}},
        {"Win32_Baseboard", {"manufacturer", "product"}},
    };
    ASSERT_TRUE(json.is_object());
    ASSERT_EQ(json.size(), expected.size());
    auto it = json.begin();
    for (const auto& [className, properties] : expected) {
        ASSERT_EQ(it.key(), className);
        ASSERT_TRUE(it.value().is_array()) << className;
        for (const auto& instance : it.value()) {
            std::vector<std::string> names;
            for (auto p = instance.begin(); p != instance.end(); ++p)
                names.push_back(p.key());
            EXPECT_EQ(names, properties) << className;
        }
        ++it;
    }
    const auto& modules = json["Win32_PhysicalMemory"];
    ASSERT_EQ(modules.size(), 2u);
    EXPECT_EQ(modules[0]["capacity"], "8589934592") << "uint64 as text";
    EXPECT_EQ(modules[0]["speed"], 2400);
    EXPECT_EQ(modules[0]["memorytype"], 0);
    EXPECT_EQ(modules[1]["devicelocator"], "ChannelB-DIMM0");
    EXPECT_EQ(json["Win32_PhysicalMemoryArray"][0]["MaxCapacity"], 33554432);
    EXPECT_EQ(json["Win32_Bios"][0]["SMBIOSBIOSVersion"], "F12");
    EXPECT_EQ(json["Win32_Processor"][0]["extclock"], 100);
    EXPECT_TRUE(json["Win32_ComputerSystem"][0]["TotalPhysicalMemory"].is_string());
    EXPECT_TRUE(json["Win32_Baseboard"][0]["product"].is_string());

    // The dump reads back as a recording with the same answer.
    const auto recorded = tree.write("recorded.json", run.out);
    const ToolRun replay = wmiDump("--json --snapshot " + quoted(recorded));
    ASSERT_EQ(replay.exitCode, 0);
    EXPECT_EQ(nlohmann::ordered_json::parse(replay.out), json);

    // Readable form: same classes, a line per property.
    const ToolRun readable = wmiDump("--smbios " + quoted(file));
    ASSERT_EQ(readable.exitCode, 0);
    EXPECT_NE(readable.out.find("Win32_PhysicalMemory (2 instances; from SMBIOS tables)\n"),
              std::string::npos)
        << readable.out;
    EXPECT_NE(readable.out.find("    capacity: \"8589934592\"\n"), std::string::npos);
    EXPECT_NE(readable.out.find("    MaxCapacity: 33554432\n"), std::string::npos);

    // The whole scan over the same file.
    const ToolRun report = wmiDump("--report --smbios " + quoted(file), "LC_ALL=C");
    ASSERT_EQ(report.exitCode, 0);
    EXPECT_NE(report.out.find("Slots: ChannelA-DIMM0,ChannelB-DIMM0,\r\n"), std::string::npos)
        << report.out;
    EXPECT_NE(report.out.find("\r\nAddress: http://"), std::string::npos) << report.out;
}

// The tables and the serial number are root's; an ordinary user still gets everything else.
TEST(WmiDump, AnOrdinaryUserGetsTheAnswerWithoutTheTables) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to run the tool as the user nobody";
    testing::FakeTree tree;
    testing::writePublishedMachine(tree);
    const std::string args = "--json --root " + quoted(tree.root());
    const ToolRun asRoot = wmiDump(args);
    const ToolRun asNobody =
        wmiDump(args, "setpriv --reuid=nobody --regid=nogroup --clear-groups", withStderr);
    ASSERT_EQ(asRoot.exitCode, 0);
    ASSERT_EQ(asNobody.exitCode, 0) << asNobody.out;
    auto expected = nlohmann::ordered_json::parse(asRoot.out);
    ASSERT_EQ(expected["Win32_ComputerSystemProduct"][0]["IdentifyingNumber"], "Default string");
    expected["Win32_ComputerSystemProduct"][0]["IdentifyingNumber"] = nullptr;
    ASSERT_EQ(expected["Win32_Processor"][0]["extclock"], 100);
    expected["Win32_Processor"][0]["extclock"] = nullptr;
    EXPECT_EQ(nlohmann::ordered_json::parse(asNobody.out), expected);

    const ToolRun readable = wmiDump("--root " + quoted(tree.root()),
                                     "setpriv --reuid=nobody --regid=nogroup --clear-groups");
    EXPECT_NE(readable.out.find("Win32_Bios (1 instance; from dmi/id)\n"), std::string::npos)
        << readable.out;
}

TEST(WmiDump, JsonOfThisMachineSucceeds) {
    const ToolRun run = wmiDump("--json");
    ASSERT_EQ(run.exitCode, 0);
    const auto json = nlohmann::json::parse(run.out);
    ASSERT_EQ(json["Win32_ComputerSystem"].size(), 1u);
    EXPECT_TRUE(json["Win32_ComputerSystem"][0]["TotalPhysicalMemory"].is_string());
}

const char* recordedMachine = R"({
  "Win32_ComputerSystem": [{"manufacturer": "Contoso", "Model": "Desk 5",
    "TotalPhysicalMemory": "17098874880", "SystemType": "x64-based PC"}],
  "Win32_PhysicalMemoryArray": [{"MaxCapacity": 33554432, "MemoryDevices": 4}],
  "Win32_PhysicalMemory": [
    {"capacity": "8589934592", "memorytype": 24, "speed": 1600, "devicelocator": "DIMM0"},
    {"capacity": "4294967296", "memorytype": 24, "speed": 1333, "devicelocator": "DIMM2"}],
  "Win32_Processor": [{"Name": "Contoso CPU", "manufacturer": "GenuineIntel",
    "CurrentClockSpeed": 3400, "extclock": 100}],
  "Win32_Bios": [{"manufacturer": "Contoso BIOS", "SMBIOSBIOSVersion": "A07"}],
  "Win32_ComputerSystemProduct": [{"IdentifyingNumber": "SN-1", "Vendor": "Contoso",
    "Version": "1"}],
  "Win32_Baseboard": [{"manufacturer": "Contoso", "product": "0K240Y"}]
})";

TEST(WmiDump, ReportOverARecordingKeepsCrLfAndEndsWithTheAddress) {
    testing::FakeTree tree;
    const auto file = tree.write("machine.json", recordedMachine);
    const ToolRun run = wmiDump("--report --snapshot " + quoted(file), "LC_ALL=C");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const auto addressAt = run.out.rfind("Address: ");
    ASSERT_NE(addressAt, std::string::npos);
    const std::string report = run.out.substr(0, addressAt);
    const std::string address = run.out.substr(addressAt);
    EXPECT_NE(report.find("Capacity: 8192 MB,4096 MB,\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Installed RAM: 15.92 GB\r\n"), std::string::npos) << report;
    EXPECT_EQ(report.size() - report.find("\r\n", report.size() - 2), 2u) << "report ends CR LF";
    std::size_t lines = 0, pos = 0;
    while ((pos = report.find("\r\n", pos)) != std::string::npos)
        ++lines, pos += 2;
    EXPECT_EQ(lines, 35u);
    EXPECT_EQ(address.rfind("Address: http://", 0), 0u) << address;
    EXPECT_NE(address.find("/mc/quorvin.asp?"), std::string::npos) << address;
    EXPECT_EQ(address.substr(address.size() - 19), "&site=Brindlemark\r\n") << address;
}

TEST(WmiDump, ATrimmedRecordingReplaysAndSaysOncePerClassWhatItLacked) {
    testing::FakeTree tree;
    const auto file = tree.write("trimmed.json", R"(
[{"Capacity": 8589934592, "DeviceLocator": "DIMM0", "CimClass": "root/cimv2:Win32_PhysicalMemory"},
 {"Capacity": 4294967296, "DeviceLocator": "DIMM2", "CimClass": "root/cimv2:Win32_PhysicalMemory"}]
{"Manufacturer": "Contoso", "CreationClassName": "Win32_BaseBoard"}
)");
    const ToolRun notes = wmiDump("--report --snapshot " + quoted(file), "", " 2>&1 >/dev/null");
    EXPECT_EQ(notes.exitCode, 0) << notes.out;
    EXPECT_EQ(notes.out, "wmi-dump: the recording lacks Win32_PhysicalMemory memorytype, speed; "
                         "read as null\n"
                         "wmi-dump: the recording lacks Win32_Baseboard product; read as null\n");
    const ToolRun report = wmiDump("--report --snapshot " + quoted(file));
    EXPECT_EQ(report.exitCode, 0);
    EXPECT_NE(report.out.find("Slots: DIMM0,DIMM2,\r\n"), std::string::npos) << report.out;
}

TEST(WmiDump, ReportUsesTheUsersDecimalSeparator) {
    testing::FakeTree tree;
    const auto file = tree.write("machine.json", recordedMachine);
    const auto locales = tree.root() / "locales";
    std::filesystem::create_directories(locales);
    const std::string build =
        "localedef -i de_DE -f UTF-8 " + quoted(locales / "de_DE.UTF-8") + " >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0)
        GTEST_SKIP() << "localedef cannot make de_DE.UTF-8 here";
    const ToolRun run = wmiDump("--report --snapshot " + quoted(file),
                                "LOCPATH=" + quoted(locales) + " LC_ALL=de_DE.UTF-8");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Installed RAM: 15,92 GB\r\n"), std::string::npos) << run.out;
}

TEST(WmiDump, ReportOfThisMachineSucceeds) {
    const ToolRun run = wmiDump("--report");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("\r\nAddress: http://"), std::string::npos) << run.out;
}

} // namespace
} // namespace quorvin
