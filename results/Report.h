#pragma once

#include "scan/ScanRecord.h"
#include "scan/values/ScanValue.h"

#include <string>

namespace quorvin {

// The 35-line plain-text report of one scan, every line ending in CR LF. The two memory lines
// carry the captions the display gave the installed and maximum memory labels.
std::string buildReport(const ScanRecord& record, const std::string& installedRamCaption,
                        const std::string& maximumRamCaption, const NumberFormat& format);

} // namespace quorvin
