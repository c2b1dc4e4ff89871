// WMI over COM. Without a query, so on Windows as under Wine: VARIANT and HRESULT conversions,
// security settings and the apartment. Against Wine's WMI only: binding, the seven scan queries
// and the value kinds.

#include "HostFacts.h"
#include "ThrowsNaming.h"
#include "WineWmiTest.h"

#include "platform/windows/ComWmi.h"

#include <wbemcli.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace quorvin;
using quorvin::checks::HostFacts;
using quorvin::checks::throwsNaming;
using quorvin::windows::ComWmiProvider;
using quorvin::windows::scanValueOf;
using quorvin::wmi::WmiError;

namespace {

struct VariantCase {
    std::string what;
    std::function<void(VARIANT&)> fill;
    std::optional<ScanValue> expected; // nullopt: a type the scan has no kind for
    CIMTYPE cimType = CIM_EMPTY;       // the property's type, as Get reports it
};

std::vector<VariantCase> variantCases() {
    return {
        {"VT_EMPTY", [](VARIANT& v) { v.vt = VT_EMPTY; }, ScanValue::null()},
        {"VT_NULL", [](VARIANT& v) { v.vt = VT_NULL; }, ScanValue::null()},
        {"VT_BSTR",
         [](VARIANT& v) {
             v.vt = VT_BSTR;
             v.bstrVal = SysAllocString(L"DIMM 0");
         },
         ScanValue::text("DIMM 0")},
        {"VT_BSTR beyond ASCII",
         [](VARIANT& v) {
             v.vt = VT_BSTR;
             v.bstrVal = SysAllocString(L"Fabrik \u00e4\u20ac\U0001F600");
         },
         ScanValue::text("Fabrik \xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80")},
        {"VT_BSTR of a uint64 stays text",
         [](VARIANT& v) {
             v.vt = VT_BSTR;
             v.bstrVal = SysAllocString(L"18446744073709551615");
         },
         ScanValue::text("18446744073709551615")},
        {"VT_BSTR null pointer",
         [](VARIANT& v) {
             v.vt = VT_BSTR;
             v.bstrVal = nullptr;
         },
         ScanValue::text("")},
        {"VT_BOOL true",
         [](VARIANT& v) {
             v.vt = VT_BOOL;
             v.boolVal = VARIANT_TRUE;
         },
         ScanValue::integer(1)},
        {"VT_BOOL false",
         [](VARIANT& v) {
             v.vt = VT_BOOL;
             v.boolVal = VARIANT_FALSE;
         },
         ScanValue::integer(0)},
        {"VT_UI1",
         [](VARIANT& v) {
             v.vt = VT_UI1;
             v.bVal = 255;
         },
         ScanValue::integer(255)},
        {"VT_I2",
         [](VARIANT& v) {
             v.vt = VT_I2;
             v.iVal = -32768;
         },
         ScanValue::integer(-32768)},
        {"VT_UI2",
         [](VARIANT& v) {
             v.vt = VT_UI2;
             v.uiVal = 65535;
         },
         ScanValue::integer(65535)},
        {"VT_I4",
         [](VARIANT& v) {
             v.vt = VT_I4;
             v.lVal = -2147483647 - 1;
         },
         ScanValue::integer(-2147483648LL)},
        // WMI hands a uint32 property over as a signed VT_I4: a MaxCapacity of 2 TB in KB.
        {"VT_I4 of a uint32 property",
         [](VARIANT& v) {
             v.vt = VT_I4;
             v.lVal = -2147483647 - 1;
         },
         ScanValue::integer(2147483648LL), CIM_UINT32},
        {"VT_I4 of a sint32 property",
         [](VARIANT& v) {
             v.vt = VT_I4;
             v.lVal = -1;
         },
         ScanValue::integer(-1), CIM_SINT32},
        {"VT_UI4 above the int32 range",
         [](VARIANT& v) {
             v.vt = VT_UI4;
             v.ulVal = 4294967295u;
         },
         ScanValue::integer(4294967295LL)},
        {"VT_UI8 as decimal text",
         [](VARIANT& v) {
             v.vt = VT_UI8;
             v.ullVal = 18446744073709551615ull;
         },
         ScanValue::text("18446744073709551615")},
        {"VT_R4",
         [](VARIANT& v) {
             v.vt = VT_R4;
             v.fltVal = 1.5f;
         },
         ScanValue::real(1.5)},
        {"VT_R8",
         [](VARIANT& v) {
             v.vt = VT_R8;
             v.dblVal = 15.92;
         },
         ScanValue::real(15.92)},
        {"VT_ARRAY|VT_BSTR has no kind",
         [](VARIANT& v) {
             v.vt = VT_ARRAY | VT_BSTR;
             v.parray = SafeArrayCreateVector(VT_BSTR, 0, 1);
         },
         std::nullopt},
        {"VT_UNKNOWN has no kind",
         [](VARIANT& v) {
             v.vt = VT_UNKNOWN;
             v.punkVal = nullptr;
         },
         std::nullopt},
    };
}

} // namespace

TEST(VariantValue, ConvertsToTheScansValueKinds) {
    const auto text = [](const std::optional<ScanValue>& v) {
        return v ? describe(*v) : std::string("no kind");
    };
    for (const VariantCase& c : variantCases()) {
        SCOPED_TRACE(c.what);
        windows::Variant variant;
        c.fill(*variant.put());
        EXPECT_EQ(text(scanValueOf(variant.get(), c.cimType)), text(c.expected));
    }
}

TEST(VariantValue, NamesTypesForMessages) {
    EXPECT_EQ(windows::variantTypeName(VT_ARRAY | VT_BSTR), "VT_ARRAY|VT_BSTR") << "string array";
    EXPECT_EQ(windows::variantTypeName(VT_UNKNOWN), "VT_UNKNOWN") << "object";
    EXPECT_EQ(windows::variantTypeName(VT_CY), "VARTYPE 6") << "currency";
}

TEST(HResultText, NamesHResultsInMessages) {
    const std::vector<std::pair<HRESULT, std::string>> cases{
        {static_cast<HRESULT>(WBEM_E_NOT_FOUND), "WBEM_E_NOT_FOUND (HRESULT 0x80041002)"},
        {static_cast<HRESULT>(WBEM_E_INVALID_CLASS), "WBEM_E_INVALID_CLASS (HRESULT 0x80041010)"},
        {static_cast<HRESULT>(WBEM_E_ACCESS_DENIED), "WBEM_E_ACCESS_DENIED (HRESULT 0x80041003)"},
        {RPC_E_CHANGED_MODE, "RPC_E_CHANGED_MODE (HRESULT 0x80010106)"},
        {static_cast<HRESULT>(0x8004DEADu), "HRESULT 0x8004DEAD"},
    };
    for (const auto& [hr, expected] : cases)
        EXPECT_EQ(windows::hresultText(hr), expected);
}

TEST(ImpersonationLevel, ReadsTheLevelTheSecuritySettingsAskFor) {
    const std::vector<std::pair<std::string, DWORD>> cases{
        {"", RPC_C_IMP_LEVEL_IMPERSONATE},
        {"impersonationLevel=impersonate", RPC_C_IMP_LEVEL_IMPERSONATE},
        {"ImpersonationLevel = Identify", RPC_C_IMP_LEVEL_IDENTIFY},
        {"authenticationLevel=pktPrivacy, impersonationLevel=delegate", RPC_C_IMP_LEVEL_DELEGATE},
        {"impersonationLevel=anonymous", RPC_C_IMP_LEVEL_ANONYMOUS},
        {"authenticationLevel=pktPrivacy", RPC_C_IMP_LEVEL_IMPERSONATE},
    };
    for (const auto& [settings, level] : cases)
        EXPECT_EQ(windows::impersonationLevelOf(settings), level) << "\"" << settings << "\"";
    EXPECT_TRUE(
        throwsNaming<wmi::WmiError>([] { windows::impersonationLevelOf("impersonationLevel="); },
                                    {"unknown impersonation level \"\""}))
        << "an empty level";
}

TEST(ComApartment, AThreadInAMultithreadedApartmentIsRefused) {
    // Checked on the worker, judged here: a failure belongs to this test's thread.
    ::testing::AssertionResult refused = ::testing::AssertionFailure() << "the worker did not run";
    std::thread worker([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        refused = throwsNaming<wmi::WmiError>(
            [] { windows::ComWmiProvider provider; },
            {"Starting COM in a single-threaded apartment failed", "RPC_E_CHANGED_MODE"});
        CoUninitialize();
    });
    worker.join();
    EXPECT_TRUE(refused) << "provider on an MTA thread";
}

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
