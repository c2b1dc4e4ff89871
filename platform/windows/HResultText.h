#pragma once

#include <windows.h>

#include <string>

namespace quorvin::windows {

// An HRESULT for a message: its hex code, with the WBEM or system name where it is a common one,
// e.g. "WBEM_E_NOT_FOUND (HRESULT 0x80041002)".
std::string hresultText(HRESULT hr);

} // namespace quorvin::windows
