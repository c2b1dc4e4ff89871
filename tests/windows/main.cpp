#include "CheckRunner.h"
#include "HostFacts.h"
#include "WineCases.h"

#include <windows.h>

#include <iostream>

namespace {

// The expected answers are Wine's (its fixed strings, no module speed); Windows' own WMI answers
// differently, so the program only judges a run under Wine.
bool runsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

constexpr int skipped = 77;

} // namespace

int main() {
    using namespace quorvin::checks;
    if (!runsUnderWine()) {
        std::cout << "skipped: these checks expect Wine's WMI answers; run under Wine\n";
        return skipped;
    }
    const HostFacts host = readHostFacts();
    std::cout << "host: " << host.totalPhysicalMemory << " bytes, CPU " << host.cpuVendor
              << (host.hostHasDmi ? ", DMI strings from the host" : ", no host DMI") << "\n";
    CheckRunner runner;
    addConversionCases(runner);
    addComWmiProviderCases(runner, host);
    addWineScanCases(runner);
    return runner.run();
}
