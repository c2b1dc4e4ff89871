#pragma once

// What every COM user here shares: interface ownership, the apartment, HRESULT names and the
// UTF-16 text that COM and Win32 take.

#include <windows.h>

#include <unknwn.h>

#include <string>
#include <string_view>
#include <utility>

namespace quorvin::windows {

// Owns one reference to a COM interface and releases it when it goes.
template <typename Interface> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept
        : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For the out-parameter of a COM call: drops what is held and hands out the slot.
    Interface** put() {
        reset();
        return &pointer_;
    }

    void reset() {
        if (pointer_)
            std::exchange(pointer_, nullptr)->Release();
    }

private:
    Interface* pointer_ = nullptr;
};

// Joins the calling thread to a single-threaded COM apartment for its lifetime. Every COM object
// made on the thread must be released before the apartment is left. Throws WmiError when the
// thread already runs a multithreaded apartment or COM cannot start.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

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

// UTF-8 text for the scan and the program's own texts, UTF-16 text for COM and Win32. Malformed
// input is replaced, never rejected.
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
