#pragma once

#include "ModuleLists.h"
#include "ScanRecord.h"
#include "WmiSession.h"
#include "scan/values/NumberText.h"

namespace quorvin {

// Clears the three module lists, then reads every Win32_PhysicalMemory instance: each module
// adds its value and separator to the four running texts, one row to each list and one to the
// module counter. The counter is 16-bit: counting past 32767 raises ScanError once the module's
// rows are in.
void collectModules(ScanRecord& record, WmiSession& session, ModuleLists& lists,
                    const NumberFormat& format);

// A module's capacity in megabytes as text, unrounded ("8192", "1023.5"); empty without a value.
std::string capacityMegabytesText(const ScanValue& capacity, double unit,
                                  const NumberFormat& format);

} // namespace quorvin
