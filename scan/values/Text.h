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

// Every text in the scan is UTF-8; these help the backends make it so from other encodings.

// Adds the code point's UTF-8 bytes.
void appendUtf8(std::string& out, char32_t codePoint);

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no surrogates,
// nothing past U+10FFFF.
bool isValidUtf8(std::string_view text);

} // namespace quorvin
