#pragma once

#include <string_view>

namespace quorvin::wmi {

// WMI matches class and property names without regard to case; they are ASCII.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

} // namespace quorvin::wmi
