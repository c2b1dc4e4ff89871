#include "WideText.h"

#include "scan/wmi/Wmi.h"

#include <oleauto.h>

namespace quorvin::windows {

std::wstring toWide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string toUtf8(std::wstring_view utf16) {
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

Bstr::Bstr(std::string_view utf8) {
    const std::wstring wide = toWide(utf8);
    value_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!value_)
        throw wmi::WmiError("Allocating a COM string for \"" + std::string(utf8) +
                            "\" failed: out of memory");
}

Bstr::~Bstr() {
    SysFreeString(value_);
}

} // namespace quorvin::windows
