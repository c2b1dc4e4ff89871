#include "platform/linux/SmbiosStructure.h"
#include "SmbiosBuilder.h"
#include "platform/linux/SmbiosEntryPoint.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace quorvin::linux_hw
