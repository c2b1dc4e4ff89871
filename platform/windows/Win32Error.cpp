#include "Win32Error.h"

#include "WideText.h"

namespace quorvin::windows {

std::string systemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr)
        return {};
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return toUtf8(text);
}

namespace {
std::string describe(std::string_view what, DWORD code) {
    const std::string sentence = systemMessage(code);
    const std::string number = "Windows error " + std::to_string(code);
    return std::string(what) +
           " failed: " + (sentence.empty() ? number : sentence + " (" + number + ")");
}
} // namespace

Win32Error::Win32Error(std::string_view what, DWORD code)
    : std::runtime_error(describe(what, code))
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
