#pragma once

#include "SmbiosFields.h"

#include <string_view>

namespace quorvin::linux_hw::smbios {

// A string field of a structure and the WMI property it fills.
struct StringField {
    std::uint8_t type;
    std::size_t offset;
    std::string_view wmiClass;
    std::string_view property;
};

// The string fields of the BIOS, system and baseboard structures. Each structure gives one
// instance of every class listed for its type, with the properties in the order listed here;
// Win32_ComputerSystem takes only the first system structure's.
inline constexpr StringField stringFields[] = {
    {type0::type, type0::vendor, "Win32_Bios", "manufacturer"},
    {type0::type, type0::version, "Win32_Bios", "SMBIOSBIOSVersion"},
    {type1::type, type1::manufacturer, "Win32_ComputerSystem", "manufacturer"},
    {type1::type, type1::productName, "Win32_ComputerSystem", "Model"},
    {type1::type, type1::serialNumber, "Win32_ComputerSystemProduct", "IdentifyingNumber"},
    {type1::type, type1::manufacturer, "Win32_ComputerSystemProduct", "Vendor"},
    {type1::type, type1::version, "Win32_ComputerSystemProduct", "Version"},
    {type2::type, type2::manufacturer, "Win32_Baseboard", "manufacturer"},
    {type2::type, type2::product, "Win32_Baseboard", "product"},
};

} // namespace quorvin::linux_hw::smbios
