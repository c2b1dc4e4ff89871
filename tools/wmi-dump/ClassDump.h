#pragma once

#include "platform/wmi/Wmi.h"

#include <string>
#include <vector>

namespace quorvin::dump {

struct PropertyValue {
    std::string name; // as the scan sends it
    ScanValue value;
};

struct ClassAnswer {
    std::string className; // as the scan's query names it
    std::vector<std::vector<PropertyValue>> instances;
};

// Asks the provider, through the four WMI operations the scan uses, for every instance of each
// scan class and every property the scan reads from it. WmiError passes through.
std::vector<ClassAnswer> collectScanClasses(wmi::WmiProvider& provider);

} // namespace quorvin::dump
