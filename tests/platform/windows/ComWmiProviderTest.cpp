// Binding, the seven scan queries and the value kinds, against Wine's WMI.

#include "HostFacts.h"
#include "ThrowsNaming.h"
#include "WineWmiTest.h"

#include "platform/windows/ComWmiProvider.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace quorvin;
using quorvin::checks::HostFacts;
using quorvin::checks::throwsNaming;
using quorvin::windows::ComWmiProvider;
using quorvin::wmi::WmiError;

namespace {

constexpr const char* scanMoniker = "winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2";

// What one property must read as: its kind, and its exact value where the test knows it.
struct ExpectedProperty {
    std::string name;
    ScanValue::Kind kind;
    std::optional<ScanValue> exact;
    std::function<bool(const ScanValue&)> plausible; // checked when exact is not known
};

struct ExpectedClass {
    std::string name;
    std::size_t minInstances;
    std::size_t maxInstances;
    std::vector<ExpectedProperty> properties; // checked on every instance
    std::vector<std::string> missing;         // properties Wine's class does not have
};

void PrintTo(const ExpectedClass& expected, std::ostream* out) {
    *out << expected.name;
}

ExpectedProperty exactText(std::string name, std::string value) {
    return {std::move(name), ScanValue::Kind::Text, ScanValue::text(std::move(value)), {}};
}

// A string Wine takes from the host's DMI files when there are any, else its own fixed text.
ExpectedProperty dmiText(const HostFacts& host, std::string name, std::string wineDefault) {
    if (!host.hostHasDmi)
        return exactText(std::move(name), std::move(wineDefault));
    return {std::move(name), ScanValue::Kind::Text, std::nullopt, {}};
}

std::vector<ExpectedClass> wineAnswers(const HostFacts& host) {
    const auto positive = [](const ScanValue& v) { return v.asInteger() > 0; };
    const auto nonEmpty = [](const ScanValue& v) { return !v.asText().empty(); };
    return {
        {"Win32_ComputerSystem",
         1,
         1,
         {dmiText(host, "manufacturer", "The Wine Project"), dmiText(host, "Model", "Wine"),
          // uint64: decimal text, the memory Windows sees.
          exactText("TotalPhysicalMemory", host.totalPhysicalMemory),
          exactText("SystemType", "x64 based PC")},
         {}},
        {"Win32_PhysicalMemoryArray", 0, 0, {}, {}},
        {"Win32_PhysicalMemory",
         1,
         1,
         {// Wine reports all memory as one module.
          exactText("capacity", host.totalPhysicalMemory),
          {"memorytype", ScanValue::Kind::Integer, ScanValue::integer(9), {}},
          exactText("devicelocator", "DIMM 0")},
         {"speed"}},
        {"Win32_Processor",
         1,
         64,
         {{"Name", ScanValue::Kind::Text, std::nullopt, nonEmpty},
          exactText("manufacturer", host.cpuVendor),
          {"CurrentClockSpeed", ScanValue::Kind::Integer, std::nullopt, positive}},
         {"extclock"}},
        {"Win32_Bios",
         1,
         1,
         {dmiText(host, "manufacturer", "The Wine Project"),
          dmiText(host, "SMBIOSBIOSVersion", "Wine")},
         {}},
        {"Win32_ComputerSystemProduct",
         1,
         1,
         {dmiText(host, "IdentifyingNumber", "0"), dmiText(host, "Vendor", "The Wine Project"),
          dmiText(host, "Version", "1.0")},
         {}},
        {"Win32_Baseboard",
         1,
         1,
         {dmiText(host, "manufacturer", "Intel Corporation"),
          dmiText(host, "product", "Base Board")},
         {}},
    };
}

void expectProperty(const wmi::WmiObject& item, const std::string& where,
                    const ExpectedProperty& expected) {
    const ScanValue value = item.get(expected.name);
    const std::string what = where + "." + expected.name;
    if (value.kind() != expected.kind) {
        ADD_FAILURE() << what << ": got " << describe(value) << ", expected a "
                      << kindName(expected.kind) << " value";
        return;
    }
    if (expected.exact) {
        EXPECT_EQ(describe(value), describe(*expected.exact)) << what;
    } else if (expected.plausible) {
        EXPECT_TRUE(expected.plausible(value)) << what << ": implausible " << describe(value);
    }
}

using WineBinding = checks::WineWmiTest;

TEST_F(WineBinding, PropertyNamesMatchWithoutRegardToCase) {
    ComWmiProvider provider;
    const auto items = provider.bind(scanMoniker)->execQuery("Select * from Win32_Bios");
    const auto item = items->next();
    ASSERT_TRUE(item != nullptr) << "Win32_Bios has an instance";
    EXPECT_EQ(describe(item->get("MANUFACTURER")), describe(item->get("Manufacturer")))
        << "Win32_Bios.manufacturer";
}

TEST_F(WineBinding, AMonikerWithoutSecuritySettingsBindsTheDefaultNamespace) {
    ComWmiProvider provider;
    const auto items = provider.bind("winmgmts:")->execQuery("Select * from Win32_ComputerSystem");
    EXPECT_TRUE(items->next() != nullptr) << "Win32_ComputerSystem has an instance";
}

TEST_F(WineBinding, AMalformedQueryNamesTheQueryAndInvalidQuery) {
    ComWmiProvider provider;
    const auto service = provider.bind(scanMoniker);
    EXPECT_TRUE(throwsNaming<WmiError>(
        [&] { service->execQuery("Select * frm Win32_Bios")->next(); },
        {"\"Select * frm Win32_Bios\"", "WBEM_E_INVALID_QUERY", "0x80041017"}))
        << "bad WQL";
}

struct Refusal {
    std::string name;
    std::string moniker;
    std::vector<std::string> parts;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.moniker;
}

const std::vector<Refusal> refusals{
    {"AnUnknownNamespace",
     "winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\nowhere",
     {"winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\nowhere", "ConnectServer",
      "WBEM_E_INVALID_NAMESPACE", "0x8004100E"}},
    {"AnUnknownImpersonationLevel",
     "winmgmts:{impersonationLevel=pretend}!\\\\.\\root\\cimv2",
     {"impersonation level \"pretend\""}},
    {"APathThatIsNoMoniker", "\\\\.\\root\\cimv2", {"does not start with \"winmgmts:\""}},
};

class WineBindingRefuses : public checks::WineWmiTest,
                           public ::testing::WithParamInterface<Refusal> {};

TEST_P(WineBindingRefuses, NamingWhatItRefused) {
    const Refusal& refusal = GetParam();
    ComWmiProvider provider;
    EXPECT_TRUE(throwsNaming<WmiError>([&] { provider.bind(refusal.moniker); }, refusal.parts))
        << refusal.moniker;
}

INSTANTIATE_TEST_SUITE_P(Monikers, WineBindingRefuses, ::testing::ValuesIn(refusals),
                         [](const auto& info) { return info.param.name; });

class WineAnswers : public checks::WineWmiTest,
                    public ::testing::WithParamInterface<ExpectedClass> {};

TEST_P(WineAnswers, EveryInstanceReadsAsWineAnswers) {
    const ExpectedClass& expected = GetParam();
    SCOPED_TRACE(describe(checks::hostFacts()));
    ComWmiProvider provider;
    const auto service = provider.bind(scanMoniker);
    const auto items = service->execQuery("Select * from " + expected.name);
    std::size_t count = 0;
    while (const auto item = items->next()) {
        const std::string where = expected.name + "[" + std::to_string(count++) + "]";
        for (const ExpectedProperty& property : expected.properties)
            expectProperty(*item, where, property);
        for (const std::string& property : expected.missing)
            EXPECT_TRUE(throwsNaming<WmiError>(
                [&] { item->get(property); },
                {"Reading property '" + property + "' of " + expected.name + " failed",
                 "WBEM_E_NOT_FOUND", "0x80041002"}))
                << where << "." << property;
    }
    EXPECT_GE(count, expected.minInstances) << expected.name << " instances";
    EXPECT_LE(count, expected.maxInstances) << expected.name << " instances";
    EXPECT_TRUE(items->next() == nullptr) << expected.name << ": the result set ends once";
}

INSTANTIATE_TEST_SUITE_P(SelectStarFrom, WineAnswers,
                         ::testing::ValuesIn(wineAnswers(checks::hostFacts())),
                         [](const auto& info) { return info.param.name; });

} // namespace
