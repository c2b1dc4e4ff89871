#pragma once

#include "scan/wmi/Wmi.h"

#include <memory>

namespace quorvin::win32app {

// What answers the scan's WMI queries in the Windows program: Windows' own WMI, or the recorded
// machine that the environment variable QUORVIN_SNAPSHOT names (the end-to-end tests use it).
// Nothing is read until the scan binds its session, so nothing is scanned before the
// disclaimer has been accepted.
std::unique_ptr<quorvin::wmi::WmiProvider> makeProgramBackend();

} // namespace quorvin::win32app
