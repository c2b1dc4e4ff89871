#pragma once

#include "platform/snapshot/Snapshot.h"

namespace quorvin::dump {

// Asks the provider, through the four WMI operations the scan uses, for every instance of each
// scan class and every property the scan reads from it, and keeps the answers as a recording:
// classes in query order, properties in reading order. WmiError passes through.
snapshot::Snapshot collectScanClasses(wmi::WmiProvider& provider);

} // namespace quorvin::dump
