#pragma once

// Windows' own WMI over its COM interfaces, and the conversions it needs on the way.

#include "Com.h"
#include "scan/values/ScanValue.h"
#include "scan/wmi/Wmi.h"

#include <windows.h>

#include <wbemcli.h>
#include <wbemidl.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvin::windows {

// A VARIANT that clears itself when it goes.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* put() {
        VariantClear(&value_);
        return &value_;
    }
    const VARIANT& get() const { return value_; }

private:
    VARIANT value_;
};

// The value kind WMI means by a property's VARIANT: a BSTR is text (uint64 and datetime
// properties arrive as decimal or DMTF text and stay text), the small integer types and booleans
// are integers, floats are doubles, VT_NULL and VT_EMPTY are null. nullopt for a type the scan
// has no kind for (arrays, objects). WMI hands a uint32 property over as a signed VT_I4, so the
// property's CIM type, where known, says whether its top bit is a sign: a MaxCapacity of 2 TB
// and more in kilobytes would otherwise read as negative.
std::optional<ScanValue> scanValueOf(const VARIANT& value, CIMTYPE cimType = CIM_EMPTY);

// "VT_ARRAY|VT_BSTR", "VT_UNKNOWN", or the number for a type without a name here.
std::string variantTypeName(VARTYPE type);

// The RPC_C_IMP_LEVEL_* a moniker's security settings ask for ("impersonationLevel=identify");
// impersonate when they name none, as the scan's own moniker does explicitly. Other settings in
// the list (authenticationLevel, privileges) are left to WMI's defaults. Throws WmiError naming
// an unknown level.
DWORD impersonationLevelOf(std::string_view securitySettings);

// How long the enumeration of one query waits for WMI: in steps, so that a service that hangs
// ends the scan with an error rather than holding it for ever.
struct EnumerationWait {
    unsigned stepMilliseconds = 500;
    unsigned totalMilliseconds = 60'000;
};

// A query's result set over WMI's enumerator: each instance once, in the order delivered. Throws
// WmiError when the enumerator fails or gives nothing within the wait.
std::unique_ptr<wmi::WmiResultSet> enumerationOf(ComPtr<IEnumWbemClassObject> items,
                                                 std::string wql, EnumerationWait wait = {});

// Windows' own WMI over its COM interfaces. The provider holds the thread in a single-threaded
// apartment, so it must be made, used and destroyed on one thread, and it must outlive every
// service, result set and object it hands out.
class ComWmiProvider : public wmi::WmiProvider {
public:
    ComWmiProvider() = default;

    // Connects to the moniker's namespace through IWbemLocator, waiting at most WMI's maximum
    // (two minutes), and sets the impersonation level the moniker asks for on the connection.
    std::unique_ptr<wmi::WmiService> bind(std::string_view objectPath) override;

private:
    ComApartment apartment_;
};

} // namespace quorvin::windows
