#include "AsciiText.h"

#include <algorithm>

namespace quorvin {

namespace {

char lowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Blank, tab, line feed, vertical tab, form feed, carriage return. Tested by value rather than
// looked up in a set: the kernel's files are trimmed line by line, and a look-up per character
// was a good share of a wmi-dump run.
constexpr bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerChar(x) == lowerChar(y);
           });
}

std::string lowerAscii(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), lowerChar);
    return lowered;
}

std::string_view trimSpace(std::string_view text) {
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && isSpace(text[first]))
        ++first;
    while (end > first && isSpace(text[end - 1]))
        --end;
    return text.substr(first, end - first);
}

} // namespace quorvin
