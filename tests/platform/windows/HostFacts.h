#pragma once

#include <string>

namespace quorvin::checks {

// What the test knows about the machine from outside WMI, to check WMI's answers against.
struct HostFacts {
    std::string totalPhysicalMemory; // bytes in decimal, from GlobalMemoryStatusEx
    std::string cpuVendor;           // the CPUID vendor string, e.g. "GenuineIntel"
    // Wine takes the BIOS, product and board strings from the host's DMI files when the host has
    // them; without them it answers its own fixed strings.
    bool hostHasDmi = false;
};

// This machine's facts, read on first use.
const HostFacts& hostFacts();

// "host: 8589934592 bytes, CPU GenuineIntel, no host DMI", for failure messages.
std::string describe(const HostFacts& host);

} // namespace quorvin::checks
