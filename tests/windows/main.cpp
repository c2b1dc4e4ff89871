#include "CheckRunner.h"
#include "HostFacts.h"
#include "WineCases.h"

#include <iostream>

int main() {
    using namespace quorvin::checks;
    const HostFacts host = readHostFacts();
    std::cout << "host: " << host.totalPhysicalMemory << " bytes, CPU " << host.cpuVendor
              << (host.hostHasDmi ? ", DMI strings from the host" : ", no host DMI") << "\n";
    CheckRunner runner;
    addConversionCases(runner);
    addComWmiProviderCases(runner, host);
    addWineScanCases(runner);
    return runner.run();
}
