#pragma once

#include "ScanRecord.h"
#include "scan/values/ScanValue.h"
#include "scan/wmi/Wmi.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvin {

// A failure of the scan itself rather than of WMI: a value it cannot convert, or the module
// counter running past its largest value.
class ScanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The open WMI session and the scan's cursor into it. It stays open, with the last result set and
// the last instance visited, until the results window that owns it goes.
struct WmiSession {
    std::unique_ptr<wmi::WmiService> scanService;
    std::unique_ptr<wmi::WmiResultSet> scanItems;
    std::unique_ptr<wmi::WmiObject> scanItem;
};

// The computer a scan reads: the local one.
inline constexpr std::string_view localComputer = ".";

// The WMI object path of the computer's root\cimv2, with impersonation.
std::string sessionPath(std::string_view computer);

// The query steps of a scan, in their fixed order: working values, session, then each scan class
// in its order (computer system, memory array, the memory modules (which first clears the lists),
// processor, BIOS, product and motherboard). Each instance's properties are read in their order
// into the record. The first error stops the scan there; fields written before keep their values.
void runScanQueries(ScanRecord& record, WmiSession& session, wmi::WmiProvider& provider,
                    ModuleLists& lists, const NumberFormat& format);

// Clears the three module lists, then reads every Win32_PhysicalMemory instance: each module
// adds its value and separator to the four running texts, one row to each list and one to the
// module counter. The counter is 16-bit: counting past 32767 raises ScanError once the module's
// rows are in.
void collectModules(ScanRecord& record, WmiSession& session, ModuleLists& lists,
                    const NumberFormat& format);

// The number a size property holds: its decimal text (uint64 properties) or integer read as a
// double; nullopt when it has no value. Throws ScanError, naming `what`, for any other content.
std::optional<double> sizeOf(const ScanValue& value, std::string_view what);

// A size divided by the divisor and rounded to two decimals. A property without a value gives 0.0,
// which the display shows as "0 MB".
double gigabytesOf(const ScanValue& value, double divisor, std::string_view what);

} // namespace quorvin
