#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvin::windows {

// An HRESULT for a message: its hex code, with the WBEM or system name where it is a common one,
// e.g. "WBEM_E_NOT_FOUND (HRESULT 0x80041002)".
std::string hresultText(HRESULT hr);

// For the codes a damaged or stopped WMI gives, one plain sentence on what is wrong and what
// mends it; empty for any other code.
std::string_view wmiFailureAdvice(HRESULT hr);

// What to do when WMI does not answer at all.
inline constexpr std::string_view wmiHangAdvice =
    "The Windows Management Instrumentation service (winmgmt) may be damaged or stuck; "
    "restarting the computer often mends it.";

} // namespace quorvin::windows
