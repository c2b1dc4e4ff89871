#pragma once

#include "scan/wmi/Wmi.h"

#include <memory>

namespace quorvin::qtapp {

// What answers the scan's WMI queries in the program: the machine's SMBIOS tables and kernel
// files. Nothing is read until the scan binds its session, so nothing is
// scanned before the disclaimer has been accepted.
std::unique_ptr<quorvin::wmi::WmiProvider> makeProgramBackend();

} // namespace quorvin::qtapp
