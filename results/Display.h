#pragma once

#include "ResultsControls.h"
#include "scan/ScanRecord.h"
#include "scan/values/ScanValue.h"

#include <string>

namespace quorvin {

// The five identity fields whose text holds "System" (case-sensitive, anywhere) carry a vendor's
// placeholder, not a value: they become "Not Available" in the record itself.
void replacePlaceholders(ScanRecord& record);

// A size in gigabytes: "8 GB" from 1.0 up, else the megabytes ("512 MB", "1003.52 MB").
std::string memorySizeText(double gigabytes, double unit, const NumberFormat& format);

// "4  (Currently Memory in 2 Slots)": sockets, two blanks, then the modules in use.
std::string slotsText(const ScanValue& totalSlots, int moduleCount, const NumberFormat& format);

// Replaces the placeholders, then writes the record into the value labels.
void fillDisplay(ScanRecord& record, ResultsControls& controls, const NumberFormat& format);

} // namespace quorvin
