#pragma once

#include "scan/ScanValue.h"

#include <windows.h>

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
// has no kind for (arrays, objects).
std::optional<ScanValue> scanValueOf(const VARIANT& value);

// "VT_ARRAY|VT_BSTR", "VT_UNKNOWN", or the number for a type without a name here.
std::string variantTypeName(VARTYPE type);

} // namespace quorvin::windows
