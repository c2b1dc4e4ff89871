#include "WineCases.h"

#include "platform/windows/ComWmiProvider.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvin::checks {

namespace {

using windows::ComWmiProvider;
using wmi::WmiError;

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

void checkProperty(Checker& checker, const wmi::WmiObject& item, const std::string& where,
                   const ExpectedProperty& expected) {
    const ScanValue value = item.get(expected.name);
    const std::string what = where + "." + expected.name;
    if (value.kind() != expected.kind) {
        checker.fail(what + ": got " + describe(value) + ", expected a " + kindName(expected.kind) +
                     " value");
        return;
    }
    if (expected.exact)
        checker.expectEqual(describe(value), describe(*expected.exact), what);
    else if (expected.plausible)
        checker.expect(expected.plausible(value), what + ": implausible " + describe(value));
}

void checkClass(Checker& checker, const ExpectedClass& expected) {
    ComWmiProvider provider;
    const auto service = provider.bind(scanMoniker);
    const auto items = service->execQuery("Select * from " + expected.name);
    std::size_t count = 0;
    while (const auto item = items->next()) {
        const std::string where = expected.name + "[" + std::to_string(count++) + "]";
        for (const ExpectedProperty& property : expected.properties)
            checkProperty(checker, *item, where, property);
        for (const std::string& property : expected.missing)
            expectThrows<WmiError>(
                checker, [&] { item->get(property); },
                {"Reading property '" + property + "' of " + expected.name + " failed",
                 "WBEM_E_NOT_FOUND", "0x80041002"},
                where + "." + property);
    }
    checker.expect(count >= expected.minInstances && count <= expected.maxInstances,
                   expected.name + ": " + std::to_string(count) + " instances, expected " +
                       std::to_string(expected.minInstances) + " to " +
                       std::to_string(expected.maxInstances));
    checker.expect(items->next() == nullptr, expected.name + ": the result set ends once");
}

void addBindingCases(CheckRunner& runner) {
    runner.add("property names match without regard to case", [](Checker& checker) {
        ComWmiProvider provider;
        const auto items = provider.bind(scanMoniker)->execQuery("Select * from Win32_Bios");
        const auto item = items->next();
        checker.expect(item != nullptr, "Win32_Bios has an instance");
        if (item)
            checker.expectEqual(describe(item->get("MANUFACTURER")),
                                describe(item->get("Manufacturer")), "Win32_Bios.manufacturer");
    });
    runner.add("a moniker without security settings binds the default namespace",
               [](Checker& checker) {
                   ComWmiProvider provider;
                   const auto items =
                       provider.bind("winmgmts:")->execQuery("Select * from Win32_ComputerSystem");
                   checker.expect(items->next() != nullptr, "Win32_ComputerSystem has an instance");
               });

    struct Refusal {
        std::string what;
        std::string moniker;
        std::vector<std::string> parts;
    };
    const std::vector<Refusal> refusals{
        {"an unknown namespace",
         "winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\nowhere",
         {"winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\nowhere", "ConnectServer",
          "WBEM_E_INVALID_NAMESPACE", "0x8004100E"}},
        {"an unknown impersonation level",
         "winmgmts:{impersonationLevel=pretend}!\\\\.\\root\\cimv2",
         {"impersonation level \"pretend\""}},
        {"a path that is no moniker", "\\\\.\\root\\cimv2", {"does not start with \"winmgmts:\""}},
    };
    for (const Refusal& refusal : refusals)
        runner.add("binding refuses " + refusal.what, [refusal](Checker& checker) {
            ComWmiProvider provider;
            expectThrows<WmiError>(
                checker, [&] { provider.bind(refusal.moniker); }, refusal.parts, refusal.moniker);
        });

    runner.add("a malformed query names the query and WBEM_E_INVALID_QUERY", [](Checker& checker) {
        ComWmiProvider provider;
        const auto service = provider.bind(scanMoniker);
        expectThrows<WmiError>(
            checker, [&] { service->execQuery("Select * frm Win32_Bios")->next(); },
            {"\"Select * frm Win32_Bios\"", "WBEM_E_INVALID_QUERY", "0x80041017"}, "bad WQL");
    });
}

} // namespace

void addComWmiProviderCases(CheckRunner& runner, const HostFacts& host) {
    addBindingCases(runner);
    for (const ExpectedClass& expected : wineAnswers(host))
        runner.add("Select * from " + expected.name,
                   [expected](Checker& checker) { checkClass(checker, expected); });
}

} // namespace quorvin::checks
