// Real machines' SMBIOS tables decoded by wmi-dump and by dmidecode, an independent reader: every
// field both print must agree. The tables come from outside the project, so an offset the parser
// and the tests' table builder share cannot hide here.
#include "CommandRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace quorvin {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// One structure as dmidecode prints it: "Handle 0x0100, DMI type 1, 25 bytes", a title, then
// one "\tKey: Value" line per field (values keep the table's blanks).
struct DmiRecord {
    int type = -1;
    std::map<std::string, std::string> fields;
};

std::vector<DmiRecord> parseDmidecode(const std::string& text) {
    std::vector<DmiRecord> records;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Handle 0x", 0) == 0) {
            const auto at = line.find("DMI type ");
            records.push_back({at == std::string::npos ? -1 : std::stoi(line.substr(at + 9)), {}});
        } else if (!records.empty() && line.size() > 1 && line[0] == '\t' && line[1] != '\t') {
            const auto colon = line.find(':');
            if (colon == std::string::npos)
                continue;
            const std::string value = line.substr(colon + 1);
            records.back().fields[line.substr(1, colon - 1)] =
                value.empty() ? value : value.substr(1);
        }
    }
    return records;
}

std::vector<const DmiRecord*> ofType(const std::vector<DmiRecord>& records, int type) {
    std::vector<const DmiRecord*> found;
    for (const DmiRecord& r : records)
        if (r.type == type)
            found.push_back(&r);
    return found;
}

// dmidecode's "6 GB", "256 MB", "64 kB" in bytes; nullopt for "Unknown", "No Module Installed".
std::optional<std::uint64_t> dmiSizeBytes(const std::string& text) {
    const std::map<std::string, std::uint64_t> units{{"bytes", 1},
                                                     {"kB", 1ull << 10},
                                                     {"MB", 1ull << 20},
                                                     {"GB", 1ull << 30},
                                                     {"TB", 1ull << 40}};
    std::istringstream in(text);
    std::uint64_t number = 0;
    std::string unit;
    if (!(in >> number >> unit) || !units.count(unit))
        return std::nullopt;
    return number * units.at(unit);
}

// "200 MT/s", "400 MHz"; nullopt for "Unknown".
std::optional<std::int64_t> dmiLeadingNumber(const std::string& text) {
    std::istringstream in(text);
    std::int64_t number = 0;
    return in >> number ? std::optional(number) : std::nullopt;
}

// Win32_PhysicalMemory's MemoryType numbers, as Microsoft documents them, for the type names
// dmidecode prints.
const std::map<std::string, std::int64_t> wmiMemoryTypeByName{
    {"Unknown", 0}, {"Other", 1},  {"DRAM", 2},   {"EDRAM", 6},  {"VRAM", 7},
    {"SRAM", 8},    {"RAM", 9},    {"ROM", 10},   {"Flash", 11}, {"EEPROM", 12},
    {"FEPROM", 13}, {"EPROM", 14}, {"CDRAM", 15}, {"3DRAM", 16}, {"SDRAM", 17},
    {"SGRAM", 18},  {"RDRAM", 19}, {"DDR", 20},   {"DDR2", 21},  {"DDR2 FB-DIMM", 22},
    {"DDR3", 24},   {"FBD2", 25}};

// The text as dmidecode shows a table string: control bytes as dots.
std::string asDmidecodeShows(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '.';
    return text;
}

// A string dmidecode prints against the JSON value: its "Not Specified" (string number 0) is
// a null, a string of blanks stays blanks.
void expectSameString(const std::string& dmi, const json& ours, const std::string& what) {
    if (dmi == "Not Specified" && ours.is_null())
        return;
    ASSERT_TRUE(ours.is_string()) << what << ": wmi-dump has " << ours.dump() << ", dmidecode \""
                                  << dmi << "\"";
    EXPECT_EQ(asDmidecodeShows(ours.get<std::string>()), dmi) << what;
}

void expectSameNumber(std::optional<std::int64_t> dmi, const json& ours, const std::string& what) {
    if (!dmi) {
        EXPECT_TRUE(ours.is_null()) << what << ": dmidecode has none, wmi-dump " << ours.dump();
        return;
    }
    if (ours.is_string()) // uint64 properties are decimal text
        EXPECT_EQ(ours.get<std::string>(), std::to_string(*dmi)) << what;
    else
        EXPECT_EQ(ours, json(*dmi)) << what;
}

struct SharedString {
    int dmiType;
    const char* dmiField;
    const char* wmiClass;
    const char* property;
};

constexpr SharedString sharedStrings[] = {
    {1, "Manufacturer", "Win32_ComputerSystem", "manufacturer"},
    {1, "Product Name", "Win32_ComputerSystem", "Model"},
    {1, "Manufacturer", "Win32_ComputerSystemProduct", "Vendor"},
    {1, "Version", "Win32_ComputerSystemProduct", "Version"},
    {1, "Serial Number", "Win32_ComputerSystemProduct", "IdentifyingNumber"},
    {2, "Manufacturer", "Win32_Baseboard", "manufacturer"},
    {2, "Product Name", "Win32_Baseboard", "product"},
    {0, "Vendor", "Win32_Bios", "manufacturer"},
    {0, "Version", "Win32_Bios", "SMBIOSBIOSVersion"},
};

std::vector<fs::path> realTables() {
    std::vector<fs::path> files;
    if (fs::is_directory(QUORVIN_REAL_TABLES_DIR))
        for (const auto& entry : fs::directory_iterator(QUORVIN_REAL_TABLES_DIR))
            if (entry.path().extension() == ".bin")
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

void compareTable(const fs::path& table) {
    const std::string quotedTable = "'" + table.string() + "'";
    const auto ours = testing::runCommand("'" WMI_DUMP_PATH "' --json --smbios " + quotedTable);
    ASSERT_EQ(ours.exitCode, 0) << ours.out;
    const auto theirs = testing::runCommand("dmidecode --from-dump " + quotedTable);
    ASSERT_EQ(theirs.exitCode, 0) << theirs.out;
    const json answers = json::parse(ours.out);
    const auto records = parseDmidecode(theirs.out);

    for (const SharedString& field : sharedStrings) {
        const auto structures = ofType(records, field.dmiType);
        ASSERT_EQ(structures.size(), 1u) << "type " << field.dmiType;
        const json& instances = answers.at(field.wmiClass);
        ASSERT_EQ(instances.size(), 1u) << field.wmiClass;
        expectSameString(structures[0]->fields.at(field.dmiField), instances[0].at(field.property),
                         std::string(field.wmiClass) + "." + field.property);
    }

    // The arrays of system memory, each with its largest size and socket count.
    std::vector<const DmiRecord*> arrays;
    for (const DmiRecord* r : ofType(records, 16))
        if (r->fields.at("Use") == "System Memory")
            arrays.push_back(r);
    const json& ourArrays = answers.at("Win32_PhysicalMemoryArray");
    ASSERT_EQ(ourArrays.size(), arrays.size());
    for (std::size_t i = 0; i < arrays.size(); ++i) {
        const auto bytes = dmiSizeBytes(arrays[i]->fields.at("Maximum Capacity"));
        expectSameNumber(bytes ? std::optional<std::int64_t>(*bytes / 1024) : std::nullopt,
                         ourArrays[i].at("MaxCapacity"), "MaxCapacity");
        expectSameNumber(dmiLeadingNumber(arrays[i]->fields.at("Number Of Devices")),
                         ourArrays[i].at("MemoryDevices"), "MemoryDevices");
    }

    // Each populated socket: size, type, speed and locator, in the table's order.
    std::vector<const DmiRecord*> modules;
    for (const DmiRecord* r : ofType(records, 17))
        if (dmiSizeBytes(r->fields.at("Size")))
            modules.push_back(r);
    const json& ourModules = answers.at("Win32_PhysicalMemory");
    ASSERT_EQ(ourModules.size(), modules.size());
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const auto& f = modules[i]->fields;
        const std::string at = "module " + std::to_string(i) + " ";
        expectSameNumber(static_cast<std::int64_t>(*dmiSizeBytes(f.at("Size"))),
                         ourModules[i].at("capacity"), at + "capacity");
        ASSERT_TRUE(wmiMemoryTypeByName.count(f.at("Type"))) << "a type to add: " << f.at("Type");
        expectSameNumber(wmiMemoryTypeByName.at(f.at("Type")), ourModules[i].at("memorytype"),
                         at + "memorytype");
        expectSameNumber(f.count("Speed") ? dmiLeadingNumber(f.at("Speed")) : std::nullopt,
                         ourModules[i].at("speed"), at + "speed");
        expectSameString(f.at("Locator"), ourModules[i].at("devicelocator"), at + "locator");
    }

    // The external clock of each populated processor socket, in order; the packages beyond them
    // come from the kernel of the machine running the test.
    std::vector<const DmiRecord*> sockets;
    for (const DmiRecord* r : ofType(records, 4))
        if (r->fields.at("Status").rfind("Populated", 0) == 0)
            sockets.push_back(r);
    const json& ourProcessors = answers.at("Win32_Processor");
    ASSERT_GE(ourProcessors.size(), sockets.size());
    for (std::size_t i = 0; i < sockets.size(); ++i)
        expectSameNumber(dmiLeadingNumber(sockets[i]->fields.at("External Clock")),
                         ourProcessors[i].at("extclock"), "processor " + std::to_string(i));
}

TEST(RealTables, WmiDumpAgreesWithDmidecodeOnEverySharedField) {
    const auto tables = realTables();
    if (tables.empty())
        GTEST_SKIP() << "no real SMBIOS tables in " << QUORVIN_REAL_TABLES_DIR;
    if (testing::runCommand("dmidecode --version >/dev/null 2>&1").exitCode != 0)
        GTEST_SKIP() << "dmidecode is not installed";
    for (const fs::path& table : tables) {
        SCOPED_TRACE(table.filename().string());
        compareTable(table);
    }
}

TEST(RealTables, DmidecodeOutputReadsAsRecords) {
    const std::string sample = "# dmidecode 3.4\n"
                               "Handle 0x0200, DMI type 2, 9 bytes\n"
                               "Base Board Information\n"
                               "\tManufacturer: Dell Inc.\n"
                               "\tVersion:    \n"
                               "\tFeatures:\n"
                               "\t\tBoard is a hosting board\n"
                               "Handle 0x1100, DMI type 17, 27 bytes\n"
                               "\tSize: 512 MB\n";
    const auto records = parseDmidecode(sample);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].type, 2);
    EXPECT_EQ(records[0].fields.at("Manufacturer"), "Dell Inc.");
    EXPECT_EQ(records[0].fields.at("Version"), "   ");
    EXPECT_EQ(records[0].fields.at("Features"), "");
    EXPECT_EQ(records[0].fields.size(), 3u);
    EXPECT_EQ(records[1].type, 17);
    EXPECT_EQ(dmiSizeBytes(records[1].fields.at("Size")), 512u << 20);
    EXPECT_EQ(dmiSizeBytes("No Module Installed"), std::nullopt);
    EXPECT_EQ(dmiLeadingNumber("Unknown"), std::nullopt);
}

} // namespace
} // namespace quorvin
