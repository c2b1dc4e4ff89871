#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvin::windows {

// The system's own sentence for an error number (FormatMessageW, in the user's language), without
// its line break; empty when the system has none.
std::string systemMessage(DWORD code);

// A failed Win32 call: what was being done, the system's sentence for the error and its number,
// e.g. "Opening the clipboard failed: Access is denied. (Windows error 5)".
class Win32Error : public std::runtime_error {
public:
    Win32Error(std::string_view what, DWORD code);
    DWORD code() const { return code_; }

private:
    DWORD code_;
};

// Throws Win32Error for the calling thread's last error.
[[noreturn]] void throwLastError(std::string_view what);

// The window, or Win32Error when its creation failed.
HWND checkedWindow(HWND window, std::string_view what);

} // namespace quorvin::windows
