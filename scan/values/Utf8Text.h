#pragma once

#include <string>
#include <string_view>

namespace quorvin {

// Every text in the scan is UTF-8; these help the backends make it so from other encodings.

// Adds the code point's UTF-8 bytes.
void appendUtf8(std::string& out, char32_t codePoint);

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no surrogates,
// nothing past U+10FFFF.
bool isValidUtf8(std::string_view text);

} // namespace quorvin
