// Recorded machines from PowerShell's ConvertTo-Json replay like the same data built in code.

#include "TestMachine.h"

#include "platform/snapshot/SnapshotJson.h"
#include "results/HeadlessResultsWindow.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quorvin;
using namespace quorvin::test;

namespace {

// What "Get-CimInstance <class> | ConvertTo-Json" prints, one class after another in one file:
// a single instance is an object, several are an array; uint64 sizes are JSON numbers.
constexpr const char* kPowerShellDump = R"json(
{
    "Manufacturer":  "A1", "Model":  "B2", "TotalPhysicalMemory":  17098874880,
    "SystemType":  "x64-based PC", "PrimaryOwnerName": "user", "PowerManagementCapabilities": null,
    "Roles": ["LM_Workstation"],
    "CimClass": { "CimSuperClassName": "CIM_UnitaryComputerSystem" },
    "CimSystemProperties": { "Namespace": "root/cimv2", "ServerName": "PC",
                             "ClassName": "Win32_ComputerSystem", "Path": null }
}
{ "MaxCapacity": 33554432, "MemoryDevices": 4,
  "CimSystemProperties": { "ClassName": "Win32_PhysicalMemoryArray" } }
[
  { "Capacity": 8589934592, "MemoryType": 24, "Speed": 1600, "DeviceLocator": "DIMM0",
    "CimSystemProperties": { "ClassName": "Win32_PhysicalMemory" } },
  { "Capacity": 4294967296, "MemoryType": 24, "Speed": 1333, "DeviceLocator": "DIMM2",
    "CimSystemProperties": { "ClassName": "Win32_PhysicalMemory" } }
]
{ "Name": "Brand CPU 3.4GHz", "Manufacturer": "GenuineIntel", "CurrentClockSpeed": 3400,
  "ExtClock": 100, "CimSystemProperties": { "ClassName": "Win32_Processor" } }
{ "Manufacturer": "BiosMaker", "SMBIOSBIOSVersion": "1.2.3",
  "CimSystemProperties": { "ClassName": "Win32_BIOS" } }
{ "IdentifyingNumber": "SN123", "Vendor": "A1", "Version": "Rev 1",
  "CimSystemProperties": { "ClassName": "Win32_ComputerSystemProduct" } }
{ "Manufacturer": "BoardMaker", "Product": "C3",
  "CimSystemProperties": { "ClassName": "Win32_BaseBoard" } }
)json";

struct Replay {
    explicit Replay(snapshot::Snapshot s)
        : provider(std::move(s))
        , window(ScanEnvironment{provider, NumberFormat{"."}, "store.test"}) {
        result = window.getQuorvin();
    }
    snapshot::SnapshotProvider provider;
    HeadlessResultsWindow window;
    ScanValue result;
};

TEST(SnapshotJson, APowerShellDumpReplaysLikeTheSameMachineBuiltInCode) {
    Replay fromJson(snapshot::parseSnapshotJson(kPowerShellDump));
    Replay fromCode(typicalMachine());
    EXPECT_EQ(fromJson.result, txt("Success"));
    EXPECT_EQ(fromJson.window.record(), fromCode.window.record());
    EXPECT_EQ(fromJson.window.reportText(), fromCode.window.reportText());
    EXPECT_EQ(fromJson.window.navigations(), fromCode.window.navigations());
}

TEST(SnapshotJson, KeyedByClassNameWithAByteOrderMarkReadsTheSame) {
    const std::string keyed = "\xEF\xBB\xBF"
                              R"json({
        "Win32_ComputerSystem": {"Manufacturer": "A1", "Model": "B2",
                                 "TotalPhysicalMemory": "17098874880", "SystemType": "x64-based PC"},
        "Win32_PhysicalMemoryArray": [{"MaxCapacity": 33554432, "MemoryDevices": 4}],
        "Win32_PhysicalMemory": [
            {"Capacity": 8589934592, "MemoryType": 24, "Speed": 1600, "DeviceLocator": "DIMM0"},
            {"Capacity": "4294967296", "MemoryType": 24, "Speed": 1333, "DeviceLocator": "DIMM2"}],
        "Win32_Processor": {"Name": "Brand CPU 3.4GHz", "Manufacturer": "GenuineIntel",
                            "CurrentClockSpeed": 3400, "ExtClock": 100},
        "Win32_BIOS": {"Manufacturer": "BiosMaker", "SMBIOSBIOSVersion": "1.2.3"},
        "Win32_ComputerSystemProduct": {"IdentifyingNumber": "SN123", "Vendor": "A1",
                                        "Version": "Rev 1"},
        "Win32_BaseBoard": {"Manufacturer": "BoardMaker", "Product": "C3"}
    })json";
    Replay fromJson(snapshot::parseSnapshotJson(keyed));
    Replay fromCode(typicalMachine());
    EXPECT_EQ(fromJson.window.record(), fromCode.window.record());
}

TEST(SnapshotJson, AUtf16FileFromPowerShellRedirectionIsRead) {
    const std::string utf8 =
        R"({"Win32_BaseBoard": {"Manufacturer": "Gr\u00fcn", "Product": "\u578b\ud83d\ude00"}})";
    const auto parsedOnce = snapshot::parseSnapshotJson(utf8); // escapes decoded by the JSON reader
    const std::string expectedProduct =
        parsedOnce.find("Win32_BaseBoard")->instances[0][1].value.asText();
    // The same text as UTF-16LE with its byte order mark.
    std::u16string wide = u"{\"Win32_BaseBoard\": {\"Manufacturer\": \"Gr\u00fcn\", \"Product\": "
                          u"\"\u578b\U0001F600\"}}";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : wide) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    const auto s = snapshot::parseSnapshotJson(bytes);
    const auto& board = s.find("Win32_BaseBoard")->instances.at(0);
    EXPECT_EQ(board[0].value, txt("Gr\xC3\xBCn"));
    EXPECT_EQ(board[1].value.asText(), expectedProduct);
    EXPECT_EQ(expectedProduct, "\xE5\x9E\x8B\xF0\x9F\x98\x80");
}

TEST(SnapshotJson, ValuesTakeTheKindsWmiGivesThem) {
    const snapshot::Snapshot s = snapshot::parseSnapshotJson(R"json(
        { "Capacity": 8589934592, "MemoryType": "24", "Speed": null, "DeviceLocator": 7,
          "CimSystemProperties": { "ClassName": "Win32_PhysicalMemory" } })json");
    const auto* modules = s.find("win32_physicalmemory");
    ASSERT_NE(modules, nullptr);
    ASSERT_EQ(modules->instances.size(), 1u);
    snapshot::SnapshotProvider provider(s);
    auto service = provider.bind("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2");
    auto items = service->execQuery("SELECT * FROM Win32_PhysicalMemory");
    auto item = items->next();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->get("capacity"), txt("8589934592"));
    EXPECT_EQ(item->get("MEMORYTYPE"), num(24));
    EXPECT_EQ(item->get("speed"), ScanValue::null());
    EXPECT_EQ(item->get("devicelocator"), txt("7"));
    EXPECT_FALSE(items->next());
    // A class the recording lacks is known and answers with no instance.
    EXPECT_FALSE(service->execQuery("Select * from Win32_Bios")->next());
}

struct BadJson {
    const char* json;
    const char* messagePart;
};

TEST(SnapshotJson, BrokenRecordingsGiveReadableErrors) {
    const BadJson cases[] = {
        {"", "holds no JSON document"},
        {"{ \"Manufacturer\": ", "not valid JSON"},
        {"[1, 2]", "names no class"},
        {"\"text\"", "must hold JSON objects"},
        {R"({"Win32_PhysicalMemory": [{"Capacity": -5}]})", "Win32_PhysicalMemory.Capacity"},
        {R"({"Win32_PhysicalMemory": [{"Speed": "fast"}]})", "Win32_PhysicalMemory.Speed"},
        {R"({"Win32_Processor": 5})", "must map to an instance object"},
    };
    for (const auto& c : cases) {
        try {
            snapshot::parseSnapshotJson(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos)
                << c.json << " -> " << e.what();
        }
    }
}

TEST(SnapshotJson, AMissingFileIsNamedInTheError) {
    try {
        snapshot::loadSnapshotFile("/nonexistent/machine.json");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/machine.json"), std::string::npos);
    }
}

struct MonikerCase {
    const char* path;
    bool binds;
};

TEST(SnapshotProvider, BindsOnlyTheLocalRootCimv2) {
    const MonikerCase cases[] = {
        {"winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2", true},
        {"WINMGMTS:{impersonationLevel=impersonate}!\\\\localhost\\ROOT\\CIMV2", true},
        {"winmgmts:\\\\.\\root\\cimv2", true},
        {"winmgmts:", true}, // the default namespace
        {"winmgmts:{impersonationLevel=impersonate}!\\\\server7\\root\\cimv2", false},
        {"winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default", false},
        {"winmgmts:{impersonationLevel=impersonate\\\\.\\root\\cimv2", false},
        {"wmi:\\\\.\\root\\cimv2", false},
    };
    snapshot::SnapshotProvider provider(typicalMachine());
    for (const auto& c : cases) {
        if (c.binds)
            EXPECT_NO_THROW(provider.bind(c.path)) << c.path;
        else
            EXPECT_THROW(provider.bind(c.path), wmi::WmiError) << c.path;
    }
}

TEST(SnapshotProvider, AnswersOnlySelectAllQueries) {
    snapshot::SnapshotProvider provider(typicalMachine());
    auto service = provider.bind("winmgmts:");
    EXPECT_NO_THROW(service->execQuery("  select   *   from   Win32_Processor  "));
    EXPECT_THROW(service->execQuery("Select Name from Win32_Processor"), wmi::WmiError);
    EXPECT_THROW(service->execQuery("Select * from Win32_Processor where Name='x'"), wmi::WmiError);
    EXPECT_THROW(service->execQuery("Select * from"), wmi::WmiError);
}

} // namespace
