#include "Com.h"

#include "scan/wmi/Wmi.h"

#include <objbase.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <array>
#include <cstdio>

namespace quorvin::windows {

ComApartment::ComApartment() {
    // S_FALSE (the thread is already in a single-threaded apartment) still takes a reference
    // that the destructor gives back.
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr))
        throw wmi::WmiError("Starting COM in a single-threaded apartment failed: " +
                            hresultText(hr));
}

ComApartment::~ComApartment() {
    CoUninitialize();
}

namespace {

// HRESULT_FROM_WIN32 of RPC_S_SERVER_UNAVAILABLE and RPC_S_CALL_FAILED: the service is gone.
constexpr HRESULT rpcServerUnavailable = static_cast<HRESULT>(0x800706BA);
constexpr HRESULT rpcCallFailed = static_cast<HRESULT>(0x800706BE);

struct NamedResult {
    HRESULT code;
    const char* name;
};

// The failures WMI callers meet most; anything else is given by its code alone.
const std::array namedResults{
    NamedResult{static_cast<HRESULT>(WBEM_E_FAILED), "WBEM_E_FAILED"},
    NamedResult{static_cast<HRESULT>(WBEM_E_NOT_FOUND), "WBEM_E_NOT_FOUND"},
    NamedResult{static_cast<HRESULT>(WBEM_E_ACCESS_DENIED), "WBEM_E_ACCESS_DENIED"},
    NamedResult{static_cast<HRESULT>(WBEM_E_PROVIDER_FAILURE), "WBEM_E_PROVIDER_FAILURE"},
    NamedResult{static_cast<HRESULT>(WBEM_E_TYPE_MISMATCH), "WBEM_E_TYPE_MISMATCH"},
    NamedResult{static_cast<HRESULT>(WBEM_E_OUT_OF_MEMORY), "WBEM_E_OUT_OF_MEMORY"},
    NamedResult{static_cast<HRESULT>(WBEM_E_INVALID_PARAMETER), "WBEM_E_INVALID_PARAMETER"},
    NamedResult{static_cast<HRESULT>(WBEM_E_NOT_SUPPORTED), "WBEM_E_NOT_SUPPORTED"},
    NamedResult{static_cast<HRESULT>(WBEM_E_INVALID_NAMESPACE), "WBEM_E_INVALID_NAMESPACE"},
    NamedResult{static_cast<HRESULT>(WBEM_E_INVALID_CLASS), "WBEM_E_INVALID_CLASS"},
    NamedResult{static_cast<HRESULT>(WBEM_E_INVALID_QUERY), "WBEM_E_INVALID_QUERY"},
    NamedResult{static_cast<HRESULT>(WBEM_E_INVALID_QUERY_TYPE), "WBEM_E_INVALID_QUERY_TYPE"},
    NamedResult{static_cast<HRESULT>(WBEM_E_TRANSPORT_FAILURE), "WBEM_E_TRANSPORT_FAILURE"},
    NamedResult{static_cast<HRESULT>(WBEM_E_SHUTTING_DOWN), "WBEM_E_SHUTTING_DOWN"},
    NamedResult{E_ACCESSDENIED, "E_ACCESSDENIED"},
    NamedResult{E_INVALIDARG, "E_INVALIDARG"},
    NamedResult{E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    NamedResult{E_NOTIMPL, "E_NOTIMPL"},
    NamedResult{E_POINTER, "E_POINTER"},
    NamedResult{E_FAIL, "E_FAIL"},
    NamedResult{RPC_E_CHANGED_MODE, "RPC_E_CHANGED_MODE"},
    NamedResult{REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
    NamedResult{rpcServerUnavailable, "RPC_S_SERVER_UNAVAILABLE"},
    NamedResult{rpcCallFailed, "RPC_S_CALL_FAILED"},
};

} // namespace

std::string hresultText(HRESULT hr) {
    char code[32];
    std::snprintf(code, sizeof code, "HRESULT 0x%08lX", static_cast<unsigned long>(hr));
    for (const NamedResult& named : namedResults)
        if (named.code == hr)
            return std::string(named.name) + " (" + code + ")";
    return code;
}

std::string_view wmiFailureAdvice(HRESULT hr) {
    switch (static_cast<unsigned long>(hr)) {
    case static_cast<unsigned long>(WBEM_E_INVALID_CLASS):
        return "WMI does not know this class: its repository may be damaged, which "
               "\"winmgmt /verifyrepository\" in an administrator's command prompt tells.";
    case static_cast<unsigned long>(WBEM_E_INVALID_NAMESPACE):
        return "WMI lacks the namespace root\\cimv2: its repository may be damaged, which "
               "\"winmgmt /verifyrepository\" in an administrator's command prompt tells.";
    case static_cast<unsigned long>(WBEM_E_ACCESS_DENIED):
    case static_cast<unsigned long>(E_ACCESSDENIED):
        return "Windows refused this user access to WMI: a security policy or a damaged "
               "installation may stand in the way.";
    case static_cast<unsigned long>(rpcServerUnavailable):
    case static_cast<unsigned long>(rpcCallFailed):
        return "The Windows Management Instrumentation service (winmgmt) is not running or "
               "does not answer: start it in Services, or restart the computer.";
    default:
        return {};
    }
}

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
