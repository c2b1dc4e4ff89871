#pragma once

#include <string>
#include <string_view>

namespace quorvin {

// WMI matches class and property names without regard to case; they are ASCII.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// The text with A to Z lowered: a key under which names that match without regard to case meet.
std::string lowerAscii(std::string_view text);

// The text without the ASCII white space (blank, tab, CR, LF, VT, FF) at either end.
std::string_view trimSpace(std::string_view text);

} // namespace quorvin
