#pragma once

#include <string_view>

namespace quorvin {

// WMI matches class and property names without regard to case; they are ASCII.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// The text without the ASCII white space (blank, tab, CR, LF, VT, FF) at either end.
std::string_view trimSpace(std::string_view text);

} // namespace quorvin
