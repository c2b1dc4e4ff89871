// VARIANT and HRESULT conversions, security settings and the apartment: no query is run, so
// these hold on Windows as under Wine.

#include "ThrowsNaming.h"

#include "platform/windows/ComWmiProvider.h"
#include "platform/windows/HResultText.h"
#include "platform/windows/ImpersonationLevel.h"
#include "platform/windows/VariantValue.h"

#include <wbemcli.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace quorvin;
using quorvin::checks::throwsNaming;
using quorvin::windows::scanValueOf;

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
