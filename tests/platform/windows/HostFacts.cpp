#include "HostFacts.h"

#include <windows.h>

#include <cpuid.h>
#include <cstring>

namespace quorvin::checks {

namespace {

std::string cpuVendor() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx))
        return {};
    char vendor[13] = {};
    std::memcpy(vendor, &ebx, 4);
    std::memcpy(vendor + 4, &edx, 4);
    std::memcpy(vendor + 8, &ecx, 4);
    return vendor;
}

std::string totalPhysicalMemory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return {};
    return std::to_string(status.ullTotalPhys);
}

// Wine maps the host's root directory to drive Z:.
bool hostHasDmi() {
    return GetFileAttributesW(L"Z:\\sys\\class\\dmi\\id\\bios_vendor") != INVALID_FILE_ATTRIBUTES;
}

} // namespace

const HostFacts& hostFacts() {
    static const HostFacts host{totalPhysicalMemory(), cpuVendor(), hostHasDmi()};
    return host;
}

std::string describe(const HostFacts& host) {
    return "host: " + host.totalPhysicalMemory + " bytes, CPU " + host.cpuVendor +
           (host.hostHasDmi ? ", DMI strings from the host" : ", no host DMI");
}

} // namespace quorvin::checks
