// Recorded machines from PowerShell's ConvertTo-Json replay like the same data built in code.

#include "TestMachine.h"

#include "platform/snapshot/Snapshot.h"
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
    "Manufacturer":  "System manufacturer", "Model":  "System Product Name",
    "TotalPhysicalMemory":  17098874880,
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
{ "Name": "Brand CPU 3.40GHz", "Manufacturer": "GenuineIntel", "CurrentClockSpeed": 3400,
  "ExtClock": 100, "CimSystemProperties": { "ClassName": "Win32_Processor" } }
{ "Manufacturer": "American Megatrends Inc.", "SMBIOSBIOSVersion": "2103",
  "CimSystemProperties": { "ClassName": "Win32_BIOS" } }
{ "IdentifyingNumber": "System Serial Number", "Vendor": "System manufacturer",
  "Version": "System Version",
  "CimSystemProperties": { "ClassName": "Win32_ComputerSystemProduct" } }
{ "Manufacturer": "Board Maker Inc.", "Product": "P8Z77-V LX",
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
        "Win32_ComputerSystem": {"Manufacturer": "System manufacturer",
                                 "Model": "System Product Name",
                                 "TotalPhysicalMemory": "17098874880", "SystemType": "x64-based PC"},
        "Win32_PhysicalMemoryArray": [{"MaxCapacity": 33554432, "MemoryDevices": 4}],
        "Win32_PhysicalMemory": [
            {"Capacity": 8589934592, "MemoryType": 24, "Speed": 1600, "DeviceLocator": "DIMM0"},
            {"Capacity": "4294967296", "MemoryType": 24, "Speed": 1333, "DeviceLocator": "DIMM2"}],
        "Win32_Processor": {"Name": "Brand CPU 3.40GHz", "Manufacturer": "GenuineIntel",
                            "CurrentClockSpeed": 3400, "ExtClock": 100},
        "Win32_BIOS": {"Manufacturer": "American Megatrends Inc.", "SMBIOSBIOSVersion": "2103"},
        "Win32_ComputerSystemProduct": {"IdentifyingNumber": "System Serial Number",
                                        "Vendor": "System manufacturer",
                                        "Version": "System Version"},
        "Win32_BaseBoard": {"Manufacturer": "Board Maker Inc.", "Product": "P8Z77-V LX"}
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

// The shapes people paste: Get-CimInstance and Get-WmiObject output, at PowerShell's default
// depth, trimmed with Select-Object, and values at the edges of their types.
struct Pasted {
    const char* json;
    const char* className;
    const char* property;
    ScanValue expected;
};

TEST(SnapshotJson, RecordingsInTheShapesPeoplePasteReplay) {
    const Pasted cases[] = {
        {R"({"Manufacturer": "M", "CimClass": "root/cimv2:Win32_BIOS"})", "Win32_Bios",
         "manufacturer", txt("M")},
        {R"({"Manufacturer": "M", "CimClass": {"CimClassName": "Win32_BIOS"}})", "Win32_Bios",
         "manufacturer", txt("M")},
        {R"({"Manufacturer": "M", "__CLASS": "Win32_BaseBoard"})", "Win32_Baseboard",
         "manufacturer", txt("M")},
        {R"({"Product": "P", "CreationClassName": "Win32_BaseBoard"})", "Win32_Baseboard",
         "product", txt("P")},
        // Trimmed: what a real instance always has but the recording lacks replays as null.
        {R"({"Capacity": 8589934592, "CimClass": "root/cimv2:Win32_PhysicalMemory"})",
         "Win32_PhysicalMemory", "speed", ScanValue::null()},
        {R"({"Capacity": "18446744073709551615", "__CLASS": "Win32_PhysicalMemory"})",
         "Win32_PhysicalMemory", "capacity", txt("18446744073709551615")},
        {R"({"Capacity": 18446744073709551615, "__CLASS": "Win32_PhysicalMemory"})",
         "Win32_PhysicalMemory", "capacity", txt("18446744073709551615")},
    };
    for (const auto& c : cases) {
        snapshot::SnapshotProvider provider(snapshot::parseSnapshotJson(c.json));
        auto items =
            provider.bind("winmgmts:")->execQuery(std::string("Select * from ") + c.className);
        const auto item = items->next();
        ASSERT_TRUE(item) << c.json;
        EXPECT_EQ(item->get(c.property), c.expected) << c.json;
        EXPECT_THROW(item->get("NoSuchProperty"), wmi::WmiError) << "as WMI itself refuses it";
    }
    const auto trimmed = snapshot::parseSnapshotJson(cases[4].json);
    EXPECT_EQ(trimmed.find("Win32_PhysicalMemory")->lackingProperties,
              (std::vector<std::string>{"memorytype", "speed", "devicelocator"}));
}

struct BadJson {
    std::string json;
    const char* messagePart;
};

std::string appendedDocuments(int count, const std::string& last) {
    std::string text;
    for (int i = 0; i < count - 1; ++i)
        text += "{\"Manufacturer\": \"M\",\n \"__CLASS\": \"Win32_BIOS\"}\n";
    return text + last;
}

TEST(SnapshotJson, BrokenRecordingsGiveReadableErrors) {
    using namespace std::string_literals;
    const BadJson cases[] = {
        {"", "holds no JSON document"},
        {"{ \"Manufacturer\": ", "not valid JSON at line 1, column 18"},
        {appendedDocuments(5, "{\n  \"Manufacturer\": ,"), "not valid JSON at line 10, column 19"},
        {"[1, 2]", "other than instance objects"},
        {"\"text\"", "must hold JSON objects"},
        {R"({"Manufacturer": "M", "Model": "X"})", "names no class: a recorded instance names it "
                                                   "in CimSystemProperties.ClassName, CimClass, "
                                                   "__CLASS or CreationClassName"},
        {R"({"Model": "X", "CreationClassName": "CIM_Chip"})", "names no class"},
        {R"({"Win32_PhysicalMemory": [{"Capacity": -5}]})", "Win32_PhysicalMemory.Capacity"},
        {R"({"Win32_PhysicalMemory": [{"Capacity": "18446744073709551616"}]})",
         "Capacity must be a whole number from 0 to 18446744073709551615"},
        {R"({"Win32_PhysicalMemory": [{"Speed": "fast"}]})", "Win32_PhysicalMemory.Speed"},
        {R"({"Win32_PhysicalMemory": [{"Speed": {"Value": 1}}]})", "Speed must be a single value"},
        {appendedDocuments(3, R"({"DeviceLocator": [1], "__CLASS": "Win32_PhysicalMemory"})"),
         "Win32_PhysicalMemory.DeviceLocator must be a single value, not an array (in the JSON "
         "document at line 5, column 1)"},
        {R"({"Win32_Processor": 5})", "must map to an instance object"},
        {"\xFE\xFF\0{"s, "UTF-16BE"},
        {"\xFF\xFE\0\0{\0\0\0"s, "UTF-32LE"},
        {"\0\0\xFE\xFF\0\0\0{"s, "UTF-32BE"},
        {"\xFF\xFE{\0}"s, "odd number of bytes"},
    };
    for (const auto& c : cases) {
        try {
            snapshot::parseSnapshotJson(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos)
                << c.json << " -> " << e.what();
            // What QUORVIN_SNAPSHOT names is a recording to the user, as everywhere else.
            EXPECT_EQ(std::string(e.what()).find("Snapshot"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("recording"), std::string::npos) << e.what();
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
