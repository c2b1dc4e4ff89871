#pragma once

#include "scan/values/ScanValue.h"

#include <windows.h>

#include <wbemcli.h>

#include <optional>
#include <string>

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

} // namespace quorvin::windows
