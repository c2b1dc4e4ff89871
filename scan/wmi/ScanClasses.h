#pragma once

#include <span>
#include <string_view>

namespace quorvin::wmi {

// The CIM types of the properties the scan reads; they decide the kind a value is delivered as.
enum class CimType { String, UInt16, UInt32, UInt64 };

struct PropertyInfo {
    std::string_view name; // as the scan sends it
    CimType type;
};

struct ClassInfo {
    std::string_view name; // as the scan's query names it
    std::span<const PropertyInfo> properties;
};

// The seven classes the scan queries, in query order, each with the properties the scan reads
// in reading order.
std::span<const ClassInfo> scanClasses();

// Looks a class or a property up without regard to case; nullptr when it is not one the scan uses.
const ClassInfo* findScanClass(std::string_view className);
const PropertyInfo* findScanProperty(std::string_view className, std::string_view property);

} // namespace quorvin::wmi
