#pragma once

#include "scan/values/ScanValue.h"
#include "scan/wmi/Wmi.h"

#include <string>

namespace quorvin::dump {

// Runs the whole scan on a results window without a screen and returns its report text as built
// (CR LF line ends kept), followed by "Address: " and the store page address it navigated to.
std::string scanReport(wmi::WmiProvider& provider, const NumberFormat& format,
                       const std::string& storeHost, const std::string& storeScheme);

} // namespace quorvin::dump
