#include "platform/linux/Smbios.h"
#include "SmbiosBuilder.h"

#include <gtest/gtest.h>

#include <deque>

namespace quorvin::linux_hw {
namespace {

using testing::Bytes;
using testing::StructureBuilder;

TEST(SmbiosStructure, ReadsFieldsAndStringsByIndex) {
    const Bytes table = testing::concat({StructureBuilder(0x80, 0x1234)
                                             .word(0xBEEF)
                                             .string("first")
                                             .string(std::nullopt)
                                             .string("second")
                                             .build(),
                                         testing::endOfTable()});
    const auto structures = parseStructures(table);
    ASSERT_EQ(structures.size(), 1u);
    const SmbiosStructure& s = structures[0];
    EXPECT_EQ(s.type(), 0x80);
    EXPECT_EQ(s.handle(), 0x1234);
    EXPECT_EQ(s.word(4), 0xBEEF);
    EXPECT_EQ(s.string(6), "first");
    EXPECT_EQ(s.string(7), std::nullopt) << "index 0 is an unset string";
    EXPECT_EQ(s.string(8), "second");
    EXPECT_EQ(s.dword(7), std::nullopt) << "field past the formatted area";
    EXPECT_EQ(s.string(9), std::nullopt);
}

TEST(SmbiosStructure, StringIndexPastTheLastStringIsUnset) {
    Bytes raw = StructureBuilder(1, 1).string("only").byte(5).build();
    const auto structures = parseStructures(raw);
    ASSERT_EQ(structures.size(), 1u);
    EXPECT_EQ(structures[0].string(4), "only");
    EXPECT_EQ(structures[0].string(5), std::nullopt);
}

struct StringBytes {
    const char* bytes;
    const char* utf8;
};

TEST(SmbiosStructure, StringsAreUtf8WhenValidElseWindows1252) {
    const StringBytes cases[] = {
        {"Plain ASCII", "Plain ASCII"},
        {"Gr\xC3\xBCn \xE2\x84\xA2 \xF0\x9F\x98\x80", "Gr\xC3\xBCn \xE2\x84\xA2 \xF0\x9F\x98\x80"},
        {"Caf\xE9 \xAE", "Caf\xC3\xA9 \xC2\xAE"},
        {"\x80\x99\x9F", "\xE2\x82\xAC\xE2\x84\xA2\xC5\xB8"},
        {"\x81\x8D", "\xC2\x81\xC2\x8D"},                 // unassigned: the same control character
        {"\xFF\xFE", "\xC3\xBF\xC3\xBE"},                 // once raw bytes in the store address
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                 // overlong
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}, // a surrogate
        {"Gr\xC3\xBCn \xFC", "Gr\xC3\x83\xC2\xBCn \xC3\xBC"}, // one rule for the whole string
        {"\xE2\x84", "\xC3\xA2\xE2\x80\x9E"},                 // cut short
    };
    for (const auto& c : cases) {
        const Bytes raw = StructureBuilder(1, 1).string(c.bytes).build();
        const auto structures = parseStructures(raw);
        ASSERT_EQ(structures.size(), 1u) << c.bytes;
        EXPECT_EQ(structures[0].string(4), c.utf8) << c.bytes;
    }
}

TEST(SmbiosStructure, WalkEndsAtEndOfTableAndAtStructureCount) {
    const Bytes a = StructureBuilder(0, 0).string("a").build();
    const Bytes b = StructureBuilder(2, 1).build();
    const Bytes table = testing::concat({a, b, testing::endOfTable(), a});
    EXPECT_EQ(parseStructures(table).size(), 2u);
    EXPECT_EQ(parseStructures(table, 1).size(), 1u);
    EXPECT_EQ(parseStructures(table, 0).size(), 0u);
}

struct Malformed {
    const char* name;
    Bytes table;
    std::size_t expected;
};

TEST(SmbiosStructure, MalformedTablesYieldTheStructuresBeforeTheFault) {
    const Bytes good = StructureBuilder(0, 0).string("vendor").string("1.0").build();
    Bytes shortHeader = StructureBuilder(2, 2).build();
    shortHeader[1] = 3;
    Bytes pastEnd = StructureBuilder(2, 2).word(7).build();
    pastEnd[1] = 0xF0;
    Bytes noTerminator = StructureBuilder(1, 1).string("no end").build();
    noTerminator.resize(noTerminator.size() - 2); // drop both NULs
    Bytes singleNul = StructureBuilder(3, 3).build();
    singleNul.pop_back();

    const std::vector<Malformed> cases{
        {"header length below 4", testing::concat({good, shortHeader, good}), 1},
        {"formatted area past the buffer", testing::concat({good, pastEnd}), 1},
        {"strings without terminator", testing::concat({good, noTerminator}), 1},
        {"empty string area cut short", testing::concat({good, singleNul}), 1},
        {"table shorter than a header", Bytes{0x00, 0x04}, 0},
        {"empty table", Bytes{}, 0},
        {"all zeros", Bytes(64, 0), 0},
    };
    for (const Malformed& c : cases)
        EXPECT_EQ(parseStructures(c.table).size(), c.expected) << c.name;
}

// Every cut of a good table gives a prefix of the full parse, never a structure made of
// bytes past the cut.
TEST(SmbiosStructure, EveryTruncationGivesAPrefixOfTheFullWalk) {
    const Bytes table = testing::realisticTable();
    const auto full = parseStructures(table);
    ASSERT_EQ(full.size(), 12u);
    for (std::size_t cut = 0; cut <= table.size(); ++cut) {
        const Bytes part(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(cut));
        const auto structures = parseStructures(part);
        ASSERT_LE(structures.size(), full.size());
        for (std::size_t i = 0; i < structures.size(); ++i) {
            ASSERT_EQ(structures[i].type(), full[i].type()) << "cut " << cut;
            ASSERT_EQ(structures[i].length(), full[i].length()) << "cut " << cut;
            ASSERT_EQ(structures[i].string(4), full[i].string(4)) << "cut " << cut;
        }
    }
}

TEST(SmbiosEntryPoint, ReadsTheThreeKinds) {
    const auto v2 = parseEntryPoint(testing::entryPoint2(0x1234, 42, 0x000F0000, 2, 7));
    ASSERT_TRUE(v2);
    EXPECT_EQ(v2->majorVersion, 2);
    EXPECT_EQ(v2->minorVersion, 7);
    EXPECT_EQ(v2->tableLength, 0x1234u);
    EXPECT_EQ(v2->tableAddress, 0x000F0000u);
    EXPECT_EQ(v2->structureCount, 42u);

    const auto v3 = parseEntryPoint(testing::entryPoint3(0x4000, 0x1'2345'6780ull, 3, 4));
    ASSERT_TRUE(v3);
    EXPECT_EQ(v3->majorVersion, 3);
    EXPECT_EQ(v3->minorVersion, 4);
    EXPECT_EQ(v3->tableLength, 0x4000u);
    EXPECT_EQ(v3->tableAddress, 0x1'2345'6780ull);
    EXPECT_EQ(v3->structureCount, std::nullopt);

    // A legacy entry point is the "_DMI_" half alone, its version in BCD.
    const Bytes v2full = testing::entryPoint2(0x200, 9, 0x20, 2, 1);
    const Bytes legacy(v2full.begin() + 0x10, v2full.end());
    const auto old = parseEntryPoint(legacy);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->majorVersion, 2);
    EXPECT_EQ(old->minorVersion, 1);
    EXPECT_EQ(old->tableLength, 0x200u);
    EXPECT_EQ(old->structureCount, 9u);
}

TEST(SmbiosEntryPoint, RejectsUnknownAnchorsAndShortBuffers) {
    const Bytes v2 = testing::entryPoint2(0x100, 1, 0x20);
    const Bytes v3 = testing::entryPoint3(0x100, 0x20);
    EXPECT_FALSE(parseEntryPoint(Bytes{}));
    EXPECT_FALSE(parseEntryPoint(Bytes(32, 'x')));
    EXPECT_FALSE(parseEntryPoint(Bytes(v2.begin(), v2.begin() + 0x1E)));
    EXPECT_FALSE(parseEntryPoint(Bytes(v3.begin(), v3.begin() + 0x17)));
    Bytes brokenInner = v2;
    brokenInner[0x10] = 'X'; // "_SM_" without its "_DMI_" part
    EXPECT_FALSE(parseEntryPoint(brokenInner));
}

const ScanValue null = ScanValue::null();
ScanValue text(const char* s) {
    return ScanValue::text(s);
}
ScanValue integer(std::int64_t v) {
    return ScanValue::integer(v);
}

ScanValue property(const snapshot::Instance& instance, std::string_view name) {
    for (const snapshot::Property& p : instance)
        if (p.name == name)
            return p.value;
    ADD_FAILURE() << "no property " << name;
    return {};
}

// An instance's properties in order, each value in its readable form so that a mismatch shows.
using Properties = std::vector<std::pair<std::string, std::string>>;
Properties properties(const snapshot::Instance& instance) {
    Properties out;
    for (const snapshot::Property& p : instance)
        out.emplace_back(p.name, describe(p.value));
    return out;
}
Properties properties(std::initializer_list<std::pair<const char*, ScanValue>> expected) {
    Properties out;
    for (const auto& [name, value] : expected)
        out.emplace_back(name, describe(value));
    return out;
}

SmbiosStructure only(const Bytes& raw) {
    // The structures view the buffer, so it must stay alive; a deque never moves its elements.
    static std::deque<Bytes> keep;
    keep.push_back(raw);
    auto structures = parseStructures(keep.back());
    EXPECT_EQ(structures.size(), 1u);
    return structures.at(0);
}

struct DeviceCase {
    const char* name;
    testing::MemoryDevice device;
    ScanValue capacity;
    ScanValue speed;
};

TEST(SmbiosFindings, MemoryDeviceSizesAndSpeeds) {
    using testing::MemoryDevice;
    auto dev = [](std::uint16_t size, std::uint32_t extSize, std::uint16_t speed,
                  std::uint32_t extSpeed, std::size_t length = 0x5C) {
        MemoryDevice d;
        d.size = size;
        d.extendedSize = extSize;
        d.speed = speed;
        d.extendedSpeed = extSpeed;
        d.length = length;
        return d;
    };
    const std::vector<DeviceCase> cases{
        {"8 GB in MB", dev(8192, 0, 2400, 0), text("8589934592"), integer(2400)},
        {"512 KB, bit 15", dev(0x8000 | 512, 0, 66, 0), text("524288"), integer(66)},
        {"0 KB, bit 15", dev(0x8000, 0, 66, 0), null, integer(66)},
        {"extended size 64 GB", dev(0x7FFF, 65536, 3200, 0), text("68719476736"), integer(3200)},
        {"extended size ignores bit 31", dev(0x7FFF, 0x80000000u | 32768, 3200, 0),
         text("34359738368"), integer(3200)},
        {"extended size zero", dev(0x7FFF, 0, 3200, 0), null, integer(3200)},
        {"unknown size", dev(0xFFFF, 0, 1333, 0), null, integer(1333)},
        {"unknown speed", dev(4096, 0, 0, 0), text("4294967296"), null},
        {"extended speed", dev(16384, 0, 0xFFFF, 8400), text("17179869184"), integer(8400)},
        {"extended speed missing in a 2.8 structure", dev(16384, 0, 0xFFFF, 8400, 0x28),
         text("17179869184"), null},
        {"SMBIOS 2.1 structure has no speed", dev(1024, 0, 100, 0, 0x15), text("1073741824"), null},
        {"SMBIOS 2.3 structure", dev(1024, 0, 133, 0, 0x1B), text("1073741824"), integer(133)},
    };
    for (const DeviceCase& c : cases) {
        const auto instance = memoryDeviceInstance(only(memoryDeviceStructure(c.device)));
        ASSERT_TRUE(instance) << c.name;
        EXPECT_EQ(property(*instance, "capacity"), c.capacity) << c.name;
        EXPECT_EQ(property(*instance, "speed"), c.speed) << c.name;
    }
}

TEST(SmbiosFindings, EmptySocketGivesNoInstance) {
    testing::MemoryDevice empty;
    empty.size = 0;
    EXPECT_FALSE(memoryDeviceInstance(only(memoryDeviceStructure(empty))));
}

TEST(SmbiosFindings, MemoryTypeUsesTheWmiNumbering) {
    const std::vector<std::pair<std::uint8_t, std::int64_t>> cases{
        {0x01, 1},  {0x02, 0},  {0x03, 2},  {0x0F, 17}, {0x12, 20}, {0x13, 21},
        {0x14, 22}, {0x18, 24}, {0x19, 25}, {0x1A, 0},  {0x22, 0},  {0x15, 0},
    };
    for (const auto& [smbios, wmiType] : cases) {
        testing::MemoryDevice d;
        d.memoryType = smbios;
        const auto instance = memoryDeviceInstance(only(memoryDeviceStructure(d)));
        ASSERT_TRUE(instance);
        EXPECT_EQ(property(*instance, "memorytype"), integer(wmiType))
            << "SMBIOS code " << int(smbios);
    }
}

TEST(SmbiosFindings, UnsetStringsAreNull) {
    testing::MemoryDevice d;
    d.locator = std::nullopt;
    const auto device = memoryDeviceInstance(only(memoryDeviceStructure(d)));
    ASSERT_TRUE(device);
    EXPECT_EQ(property(*device, "devicelocator"), null);

    const auto bios = biosInstance(only(testing::biosStructure(std::nullopt, "1.2.3")));
    EXPECT_EQ(property(bios, "manufacturer"), null);
    EXPECT_EQ(property(bios, "SMBIOSBIOSVersion"), text("1.2.3"));

    const auto product =
        productInstance(only(testing::systemStructure("Maker", std::nullopt, std::nullopt, "SN1")));
    EXPECT_EQ(property(product, "Vendor"), text("Maker"));
    EXPECT_EQ(property(product, "Version"), null);
    EXPECT_EQ(property(product, "IdentifyingNumber"), text("SN1"));

    const auto board = baseboardInstance(only(testing::baseboardStructure(std::nullopt, "B1")));
    EXPECT_EQ(property(board, "manufacturer"), null);
    EXPECT_EQ(property(board, "product"), text("B1"));
}

// The instances are shown as they come (wmi-dump keeps the order), so each one must hold exactly
// its class's properties, in WMI's order.
TEST(SmbiosFindings, StringFieldsGiveWholeInstancesInOrder) {
    EXPECT_EQ(properties(biosInstance(only(testing::biosStructure("Vendor", "1.2.3")))),
              properties({{"manufacturer", text("Vendor")}, {"SMBIOSBIOSVersion", text("1.2.3")}}));
    EXPECT_EQ(
        properties(productInstance(only(testing::systemStructure("Maker", "Model", "V2", "SN1")))),
        properties({{"IdentifyingNumber", text("SN1")},
                    {"Vendor", text("Maker")},
                    {"Version", text("V2")}}));
    EXPECT_EQ(properties(baseboardInstance(only(testing::baseboardStructure("Board maker", "B1")))),
              properties({{"manufacturer", text("Board maker")}, {"product", text("B1")}}));
}

TEST(SmbiosFindings, MemoryArrayMaximumCapacity) {
    struct Case {
        const char* name;
        std::uint32_t max;
        std::uint64_t extended;
        ScanValue expected;
    };
    const std::vector<Case> cases{
        {"32 GB in KB", 33554432, 0, integer(33554432)},
        {"unknown", 0, 0, null},
        {"extended 2 TB", 0x80000000u, 2ull << 40, integer(2147483648)},
        {"extended beyond a uint32 of KB", 0x80000000u, 8ull << 40, null},
        {"extended zero", 0x80000000u, 0, null},
    };
    for (const Case& c : cases) {
        testing::MemoryArray a;
        a.maxCapacityKB = c.max;
        a.extendedMaxBytes = c.extended;
        const auto instance = memoryArrayInstance(only(memoryArrayStructure(a)));
        EXPECT_EQ(property(instance, "MaxCapacity"), c.expected) << c.name;
        EXPECT_EQ(property(instance, "MemoryDevices"), integer(4)) << c.name;
    }
}

TEST(SmbiosFindings, WholeTableGivesOneInstancePerPopulatedDevice) {
    testing::MemoryArray flash;
    flash.use = 0x05; // flash memory: not a system memory array
    flash.devices = 1;
    // realisticTable ends with the end-of-table structure; put the extras before it.
    const Bytes base = testing::realisticTable();
    const Bytes end = testing::endOfTable();
    Bytes withExtras(base.begin(), base.end() - static_cast<std::ptrdiff_t>(end.size()));
    withExtras = testing::concat({withExtras, memoryArrayStructure(flash),
                                  testing::processorStructure(0, true),
                                  testing::processorStructure(133, false), end});

    const auto structures = parseStructures(withExtras);
    const SmbiosFindings f = decodeFindings(structures);
    ASSERT_EQ(f.memoryDevices.size(), 2u);
    EXPECT_EQ(property(f.memoryDevices[0], "devicelocator"), text("ChannelA-DIMM0"));
    EXPECT_EQ(property(f.memoryDevices[1], "devicelocator"), text("ChannelB-DIMM0"));
    EXPECT_EQ(property(f.memoryDevices[0], "memorytype"), integer(0)) << "DDR4";
    ASSERT_EQ(f.memoryArrays.size(), 1u);
    EXPECT_EQ(f.bios.size(), 1u);
    EXPECT_EQ(f.baseboards.size(), 1u);
    ASSERT_EQ(f.products.size(), 1u);
    EXPECT_EQ(f.systemManufacturer, text("Gigabyte Technology Co., Ltd."));
    EXPECT_EQ(f.systemModel, text("Z390 AORUS PRO"));
    // Two populated sockets (the unpopulated one is left out), the second with unknown clock.
    ASSERT_EQ(f.processorExternalClocks.size(), 2u);
    EXPECT_EQ(f.processorExternalClocks[0], integer(100));
    EXPECT_EQ(f.processorExternalClocks[1], null);
}

// A formatted area as a dump shows it, in hex byte by byte, followed by its strings and the
// double-NUL end.
Bytes handWritten(std::string_view hex, std::initializer_list<std::string_view> strings) {
    Bytes out;
    std::string digits;
    for (char c : hex)
        if (c != ' ')
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    for (std::string_view s : strings) {
        out.insert(out.end(), s.begin(), s.end());
        out.push_back(0);
    }
    if (strings.size() == 0)
        out.push_back(0);
    out.push_back(0);
    return out;
}

// The decoder and the table builder share one field layout, so a wrong offset there would pass
// every test made with the builder. These structures are written out by hand, as a dump shows
// them, with every field the scan reads set to a value it can only have come from there.
TEST(SmbiosFindings, ReadsStructuresWrittenOutByHand) {
    const Bytes table = testing::concat({
        handWritten("00 12 00 00 01 02 00 F0 03 0F 80 98 8B 3F 01 00"
                    "00 00",
                    {"Firmware Co.", "4.6.5", "05/01/2023"}),
        handWritten("01 08 01 00 01 02 03 04", {"Maker Ltd.", "Model 9", "Rev A", "SER-777"}),
        handWritten("02 08 02 00 01 02 03 04", {"Board Inc.", "MB-1", "1.0", "BRD-1"}),
        // Processors: external clock at 12h (133 and 100 MHz); status at 18h, both populated,
        // the first enabled (41h), the second disabled in setup (42h).
        handWritten("04 1A 40 00 01 03 C6 02 EA 06 09 00 FF FB EB BF"
                    "03 8A 85 00 6C 12 B8 0B 41 01",
                    {"CPU0", "Chip Maker", "Chip 3000"}),
        handWritten("04 1A 41 00 01 03 C6 02 EA 06 09 00 FF FB EB BF"
                    "03 8A 64 00 6C 12 B8 0B 42 01",
                    {"CPU1", "Chip Maker", "Chip 3000"}),
        // Memory array: system memory at 05h; maximum 80000000h at 07h, deferring to 2 TB at
        // 0Fh; 8 devices at 0Dh.
        handWritten("10 17 00 10 03 03 06 00 00 00 80 FE FF 08 00 00"
                    "00 00 00 00 02 00 00",
                    {}),
        // Memory device: size 7FFFh at 0Ch, deferring to 65536 MB at 1Ch; locator string 1 at
        // 10h; DDR3 (18h) at 12h; speed FFFFh at 15h, deferring to 6400 MT/s at 54h.
        handWritten("11 5C 00 11 00 10 FE FF 48 00 40 00 FF 7F 09 00"
                    "01 02 18 80 00 FF FF 03 04 00 05 02 00 00 01 00"
                    "FF FF 4C 04 4C 04 4C 04 00 00 00 00 00 00 00 00"
                    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                    "00 00 00 00 00 19 00 00 00 19 00 00",
                    {"DIMM_A1", "BANK 0", "Memory Maker", "SN-1", "PART-64G"}),
        handWritten("7F 04 FF FE", {}),
    });
    const auto structures = parseStructures(table);
    ASSERT_EQ(structures.size(), 7u) << "the end-of-table structure ends the walk";
    const SmbiosFindings f = decodeFindings(structures);

    ASSERT_EQ(f.bios.size(), 1u);
    EXPECT_EQ(properties(f.bios[0]), properties({{"manufacturer", text("Firmware Co.")},
                                                 {"SMBIOSBIOSVersion", text("4.6.5")}}));
    EXPECT_EQ(f.systemManufacturer, text("Maker Ltd."));
    EXPECT_EQ(f.systemModel, text("Model 9"));
    ASSERT_EQ(f.products.size(), 1u);
    EXPECT_EQ(properties(f.products[0]), properties({{"IdentifyingNumber", text("SER-777")},
                                                     {"Vendor", text("Maker Ltd.")},
                                                     {"Version", text("Rev A")}}));
    ASSERT_EQ(f.baseboards.size(), 1u);
    EXPECT_EQ(properties(f.baseboards[0]),
              properties({{"manufacturer", text("Board Inc.")}, {"product", text("MB-1")}}));
    ASSERT_EQ(f.processorExternalClocks.size(), 2u);
    EXPECT_EQ(f.processorExternalClocks[0], integer(133));
    EXPECT_EQ(f.processorExternalClocks[1], integer(100));
    ASSERT_EQ(f.memoryArrays.size(), 1u);
    EXPECT_EQ(properties(f.memoryArrays[0]),
              properties({{"MaxCapacity", integer(2147483648)}, {"MemoryDevices", integer(8)}}));
    ASSERT_EQ(f.memoryDevices.size(), 1u);
    EXPECT_EQ(properties(f.memoryDevices[0]), properties({{"capacity", text("68719476736")},
                                                          {"memorytype", integer(24)},
                                                          {"speed", integer(6400)},
                                                          {"devicelocator", text("DIMM_A1")}}));
}

TEST(SmbiosFindings, NoStructuresNoInstances) {
    const SmbiosFindings f = decodeFindings({});
    EXPECT_TRUE(f.bios.empty());
    EXPECT_TRUE(f.memoryDevices.empty());
    EXPECT_EQ(f.systemManufacturer, null);
    EXPECT_EQ(f.systemModel, null);
}

} // namespace
} // namespace quorvin::linux_hw
