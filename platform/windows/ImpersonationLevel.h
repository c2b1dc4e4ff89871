#pragma once

#include <windows.h>

#include <string_view>

namespace quorvin::windows {

// The RPC_C_IMP_LEVEL_* a moniker's security settings ask for ("impersonationLevel=identify");
// impersonate when they name none, as the scan's own moniker does explicitly. Other settings in
// the list (authenticationLevel, privileges) are left to WMI's defaults. Throws WmiError naming
// an unknown level.
DWORD impersonationLevelOf(std::string_view securitySettings);

} // namespace quorvin::windows
