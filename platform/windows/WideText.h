#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvin::windows {

// UTF-8 text for the scan, UTF-16 text for COM. Malformed input is replaced, never rejected.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

// A BSTR made from UTF-8 text and freed when it goes. Throws WmiError when it cannot be made.
class Bstr {
public:
    explicit Bstr(std::string_view utf8);
    ~Bstr();
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return value_; }

private:
    BSTR value_;
};

} // namespace quorvin::windows
