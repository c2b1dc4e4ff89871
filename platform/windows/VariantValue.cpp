#include "VariantValue.h"

#include "WideText.h"

#include <oleauto.h>

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

} // namespace quorvin::windows
