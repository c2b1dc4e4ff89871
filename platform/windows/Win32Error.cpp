#include "Win32Error.h"

namespace quorvin::windows {

Win32Error::Win32Error(std::string_view what, DWORD code)
    : std::runtime_error(std::string(what) + " failed: Windows error " + std::to_string(code))
    , code_(code) {}

void throwLastError(std::string_view what) {
    throw Win32Error(what, GetLastError());
}

HWND checkedWindow(HWND window, std::string_view what) {
    if (window == nullptr)
        throwLastError(what);
    return window;
}

} // namespace quorvin::windows
