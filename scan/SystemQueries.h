#pragma once

#include "ModuleLists.h"
#include "ScanRecord.h"
#include "WmiSession.h"
#include "scan/values/NumberText.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvin {

// The computer a scan reads: the local one.
inline constexpr std::string_view localComputer = ".";

// The WMI object path of the computer's root\cimv2, with impersonation.
std::string sessionPath(std::string_view computer);

// The query steps of a scan, in their fixed order: working values, session, computer system,
// memory array, the memory modules (which first clears the lists), processor, BIOS, product and
// motherboard. The first error stops the scan there; fields written before keep their values.
void runScanQueries(ScanRecord& record, WmiSession& session, wmi::WmiProvider& provider,
                    ModuleLists& lists, const NumberFormat& format);

// The single steps, for callers that need one of them.
void setWorkingValues(ScanRecord& record);
void openSession(const ScanRecord& record, WmiSession& session, wmi::WmiProvider& provider);
void queryComputerSystem(ScanRecord& record, WmiSession& session);
void queryMemoryArray(ScanRecord& record, WmiSession& session);
void queryProcessor(ScanRecord& record, WmiSession& session);
void queryBios(ScanRecord& record, WmiSession& session);
void queryComputerSystemProduct(ScanRecord& record, WmiSession& session);
void queryBaseboard(ScanRecord& record, WmiSession& session);

// The number a size property holds: its decimal text (uint64 properties) or integer read as a
// double; nullopt when it has no value. Throws ScanError, naming `what`, for any other content.
std::optional<double> sizeOf(const ScanValue& value, std::string_view what);

// A size divided by the divisor and rounded to two decimals. A property without a value gives 0.0,
// which the display shows as "0 MB".
double gigabytesOf(const ScanValue& value, double divisor, std::string_view what);

} // namespace quorvin
