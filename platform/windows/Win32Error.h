#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvin::windows {

// A failed Win32 call, with what was being done and the system's error number.
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
