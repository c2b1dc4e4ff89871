#include "ComWmi.h"

#include "Com.h"
#include "scan/values/ScanValue.h"
#include "scan/wmi/Wmi.h"

#include <oleauto.h>

#include <array>
#include <cstdint>

namespace quorvin::windows {

std::optional<ScanValue> scanValueOf(const VARIANT& value, CIMTYPE cimType) {
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return ScanValue::null();
    case VT_BSTR:
        return ScanValue::text(value.bstrVal ? toUtf8({value.bstrVal, SysStringLen(value.bstrVal)})
                                             : std::string());
    case VT_BOOL:
        // VARIANT_TRUE is -1; WMI booleans read as 1 and 0 like every other integer.
        return ScanValue::integer(value.boolVal != VARIANT_FALSE ? 1 : 0);
    case VT_I1:
        return ScanValue::integer(value.cVal);
    case VT_UI1:
        return ScanValue::integer(value.bVal);
    case VT_I2:
        return ScanValue::integer(value.iVal);
    case VT_UI2:
        return ScanValue::integer(value.uiVal);
    case VT_I4:
        if (cimType == CIM_UINT32)
            return ScanValue::integer(static_cast<std::uint32_t>(value.lVal));
        return ScanValue::integer(value.lVal);
    case VT_UI4:
        return ScanValue::integer(value.ulVal);
    case VT_INT:
        return ScanValue::integer(value.intVal);
    case VT_UINT:
        return ScanValue::integer(value.uintVal);
    case VT_I8:
        return ScanValue::integer(value.llVal);
    case VT_UI8:
        // Kept as decimal text like the uint64 properties WMI delivers as BSTR: it may not fit.
        return ScanValue::text(std::to_string(value.ullVal));
    case VT_R4:
        return ScanValue::real(value.fltVal);
    case VT_R8:
        return ScanValue::real(value.dblVal);
    default:
        return std::nullopt;
    }
}

std::string variantTypeName(VARTYPE type) {
    std::string prefix;
    if (type & VT_ARRAY)
        prefix = "VT_ARRAY|";
    if (type & VT_BYREF)
        prefix += "VT_BYREF|";
    switch (type & VT_TYPEMASK) {
    case VT_BSTR:
        return prefix + "VT_BSTR";
    case VT_DISPATCH:
        return prefix + "VT_DISPATCH";
    case VT_UNKNOWN:
        return prefix + "VT_UNKNOWN";
    case VT_VARIANT:
        return prefix + "VT_VARIANT";
    case VT_DATE:
        return prefix + "VT_DATE";
    case VT_I4:
        return prefix + "VT_I4";
    case VT_UI1:
        return prefix + "VT_UI1";
    default:
        return prefix + "VARTYPE " + std::to_string(type & VT_TYPEMASK);
    }
}

namespace {

struct NamedLevel {
    std::string_view name;
    DWORD level;
};

constexpr std::array levels{
    NamedLevel{"anonymous", RPC_C_IMP_LEVEL_ANONYMOUS},
    NamedLevel{"identify", RPC_C_IMP_LEVEL_IDENTIFY},
    NamedLevel{"impersonate", RPC_C_IMP_LEVEL_IMPERSONATE},
    NamedLevel{"delegate", RPC_C_IMP_LEVEL_DELEGATE},
};

} // namespace

DWORD impersonationLevelOf(std::string_view securitySettings) {
    std::string_view rest = securitySettings;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view setting = trimSpace(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);

        const auto equals = setting.find('=');
        if (equals == std::string_view::npos ||
            !equalsIgnoreCase(trimSpace(setting.substr(0, equals)), "impersonationLevel"))
            continue;
        const std::string_view name = trimSpace(setting.substr(equals + 1));
        for (const NamedLevel& known : levels)
            if (equalsIgnoreCase(known.name, name))
                return known.level;
        throw wmi::WmiError("Binding WMI failed: unknown impersonation level \"" +
                            std::string(name) + "\" in the security settings \"" +
                            std::string(securitySettings) + "\"");
    }
    return RPC_C_IMP_LEVEL_IMPERSONATE;
}

namespace {

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Why a failed call failed: a plain word for the codes a scan meets, the code, and for the codes
// of a damaged or stopped WMI a sentence a user can act on.
std::string failureText(HRESULT hr) {
    std::string text;
    switch (static_cast<unsigned>(hr)) {
    case WBEM_E_NOT_FOUND:
        text = "no such property, ";
        break;
    case WBEM_E_INVALID_CLASS:
        text = "invalid class, ";
        break;
    case WBEM_E_INVALID_NAMESPACE:
        text = "invalid namespace, ";
        break;
    case WBEM_E_INVALID_QUERY:
        text = "invalid query, ";
        break;
    case WBEM_E_ACCESS_DENIED:
    case static_cast<unsigned>(E_ACCESSDENIED):
        text = "access denied, ";
        break;
    default:
        break;
    }
    text += hresultText(hr);
    const std::string_view advice = wmiFailureAdvice(hr);
    if (!advice.empty())
        text += ". " + std::string(advice);
    return text;
}

// The class an instance belongs to, read from its __CLASS system property; fallback when the
// instance does not say.
std::string classOf(IWbemClassObject& object, const std::string& fallback) {
    Variant value;
    if (FAILED(object.Get(L"__CLASS", 0, value.put(), nullptr, nullptr)))
        return fallback;
    const auto name = scanValueOf(value.get());
    return name && name->isText() ? name->asText() : fallback;
}

class ComWmiObject : public wmi::WmiObject {
public:
    ComWmiObject(ComPtr<IWbemClassObject> object, std::string queriedClass)
        : object_(std::move(object))
        , queriedClass_(std::move(queriedClass)) {}

    ScanValue get(std::string_view property) const override {
        const std::wstring name = toWide(property);
        Variant value;
        CIMTYPE cimType = CIM_EMPTY;
        const HRESULT hr = object_->Get(name.c_str(), 0, value.put(), &cimType, nullptr);
        if (FAILED(hr))
            fail(property, failureText(hr));
        if (auto converted = scanValueOf(value.get(), cimType))
            return *std::move(converted);
        fail(property, "its value has the type " + variantTypeName(value.get().vt) +
                           ", which the scan cannot read");
    }

private:
    [[noreturn]] void fail(std::string_view property, const std::string& why) const {
        throw wmi::WmiError("Reading property '" + std::string(property) + "' of " +
                            classOf(*object_.get(), queriedClass_) + " failed: " + why);
    }

    ComPtr<IWbemClassObject> object_;
    std::string queriedClass_;
};

class ComWmiResultSet : public wmi::WmiResultSet {
public:
    ComWmiResultSet(ComPtr<IEnumWbemClassObject> items, std::string wql, EnumerationWait wait)
        : items_(std::move(items))
        , wql_(std::move(wql))
        , queriedClass_(wmi::selectAllClass(wql_))
        , wait_(wait) {}

    std::unique_ptr<wmi::WmiObject> next() override {
        if (!items_)
            return nullptr;
        ComPtr<IEnumWbemClassObject> items = std::move(items_);
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        // A hung WMI service never answers: each wait is bounded, and so is their sum over the
        // whole query, however many instances came before.
        HRESULT hr;
        while ((hr = items->Next(static_cast<LONG>(wait_.stepMilliseconds), 1, object.put(),
                                 &returned)) == WBEM_S_TIMEDOUT) {
            // Only the steps that timed out count: a prompt answer costs nothing.
            waited_ += wait_.stepMilliseconds;
            if (waited_ >= wait_.totalMilliseconds)
                throw wmi::WmiError("Windows Management Instrumentation did not answer the query " +
                                    quoted(wql_) + " (class " + queriedClass_ + ") within " +
                                    std::to_string(wait_.totalMilliseconds / 1000) + " seconds. " +
                                    std::string(wmiHangAdvice));
        }
        if (FAILED(hr))
            throw wmi::WmiError("Reading the next instance of " + quoted(wql_) +
                                " failed: " + failureText(hr));
        if (returned == 0 || !object)
            return nullptr; // enumerated once: the end stays the end
        items_ = std::move(items);
        return std::make_unique<ComWmiObject>(std::move(object), queriedClass_);
    }

private:
    ComPtr<IEnumWbemClassObject> items_;
    std::string wql_;
    std::string queriedClass_;
    EnumerationWait wait_;
    unsigned waited_ = 0; // milliseconds of steps that timed out, over the whole query
};

class ComWmiService : public wmi::WmiService {
public:
    explicit ComWmiService(ComPtr<IWbemServices> services)
        : services_(std::move(services)) {}

    std::unique_ptr<wmi::WmiResultSet> execQuery(std::string_view wql) override {
        const Bstr language("WQL");
        const Bstr query(wql);
        ComPtr<IEnumWbemClassObject> items;
        // Semi-synchronous and forward-only: instances are handed over as they come and
        // not kept for a second pass, which the scan never makes.
        const HRESULT hr = services_->ExecQuery(
            language.get(), query.get(), WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY,
            nullptr, items.put());
        if (FAILED(hr))
            throw wmi::WmiError("ExecQuery " + quoted(wql) + " failed: " + failureText(hr));
        return enumerationOf(std::move(items), std::string(wql));
    }

private:
    ComPtr<IWbemServices> services_;
};

} // namespace

std::unique_ptr<wmi::WmiResultSet> enumerationOf(ComPtr<IEnumWbemClassObject> items,
                                                 std::string wql, EnumerationWait wait) {
    if (wait.stepMilliseconds == 0)
        wait.stepMilliseconds = 1;
    return std::make_unique<ComWmiResultSet>(std::move(items), std::move(wql), wait);
}

std::unique_ptr<wmi::WmiService> ComWmiProvider::bind(std::string_view objectPath) {
    const wmi::Moniker moniker = wmi::parseMoniker(objectPath);
    const DWORD impersonation = impersonationLevelOf(moniker.securitySettings);
    const std::string path = "\\\\" + moniker.server + "\\" + moniker.nameSpace;
    const auto fail = [&](const std::string& operation, HRESULT hr) {
        throw wmi::WmiError("Binding the WMI object path " + quoted(objectPath) +
                            " failed: " + operation + " " + failureText(hr));
    };

    ComPtr<IWbemLocator> locator;
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, reinterpret_cast<void**>(locator.put()));
    if (FAILED(hr))
        fail("creating the WbemLocator gave", hr);

    const Bstr resource(path);
    ComPtr<IWbemServices> services;
    // At most two minutes for a service that does not answer, not for ever.
    hr = locator->ConnectServer(resource.get(), nullptr, nullptr, nullptr,
                                WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr, nullptr, services.put());
    if (FAILED(hr))
        fail("ConnectServer(" + quoted(path) + ") gave", hr);

    hr = CoSetProxyBlanket(services.get(), RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT,
                           COLE_DEFAULT_PRINCIPAL, RPC_C_AUTHN_LEVEL_DEFAULT, impersonation,
                           nullptr, EOAC_DEFAULT);
    if (FAILED(hr))
        fail("setting the impersonation level with CoSetProxyBlanket gave", hr);

    return std::make_unique<ComWmiService>(std::move(services));
}

} // namespace quorvin::windows
