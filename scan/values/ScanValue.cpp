#include "ScanValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace quorvin {

ScanValue ScanValue::null() {
    ScanValue v;
    v.value_ = NullTag{};
    return v;
}

ScanValue ScanValue::text(std::string value) {
    ScanValue v;
    v.value_ = std::move(value);
    return v;
}

ScanValue ScanValue::textOrNull(std::optional<std::string> value) {
    return value ? text(std::move(*value)) : null();
}

ScanValue ScanValue::integer(std::int64_t value) {
    ScanValue v;
    v.value_ = value;
    return v;
}

ScanValue ScanValue::real(double value) {
    ScanValue v;
    v.value_ = value;
    return v;
}

namespace {
[[noreturn]] void wrongKind(ScanValue::Kind wanted, ScanValue::Kind held) {
    throw std::logic_error(std::string("a ") + kindName(held) + " value was read as " +
                           kindName(wanted));
}
} // namespace

const std::string& ScanValue::asText() const {
    if (!isText())
        wrongKind(Kind::Text, kind());
    return std::get<std::string>(value_);
}

std::int64_t ScanValue::asInteger() const {
    if (!isInteger())
        wrongKind(Kind::Integer, kind());
    return std::get<std::int64_t>(value_);
}

double ScanValue::asDouble() const {
    if (!isDouble())
        wrongKind(Kind::Double, kind());
    return std::get<double>(value_);
}

void ScanValue::appendText(std::string_view more) {
    if (!isText())
        wrongKind(Kind::Text, kind());
    std::get<std::string>(value_).append(more);
}

const char* kindName(ScanValue::Kind kind) {
    switch (kind) {
    case ScanValue::Kind::Empty:
        return "empty";
    case ScanValue::Kind::Null:
        return "null";
    case ScanValue::Kind::Text:
        return "text";
    case ScanValue::Kind::Integer:
        return "integer";
    case ScanValue::Kind::Double:
        return "double";
    }
    return "unknown";
}

std::string describe(const ScanValue& value) {
    switch (value.kind()) {
    case ScanValue::Kind::Empty:
    case ScanValue::Kind::Null:
        return kindName(value.kind());
    case ScanValue::Kind::Text:
        return "text \"" + value.asText() + "\"";
    case ScanValue::Kind::Integer:
        return "integer " + std::to_string(value.asInteger());
    case ScanValue::Kind::Double:
        return "double " + std::to_string(value.asDouble());
    }
    return {};
}

std::string numberText(double value, const NumberFormat& format) {
    if (value == 0.0)
        return "0"; // also for -0.0, which has no sign of its own to the user
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string out;
    for (const char* p = buffer; p != result.ptr; ++p) {
        if (*p == '.')
            out += format.decimalSeparator;
        else if (*p == 'e')
            out += 'E';
        else
            out += *p;
    }
    return out;
}

std::string joinText(const ScanValue& value, const NumberFormat& format) {
    switch (value.kind()) {
    case ScanValue::Kind::Empty:
    case ScanValue::Kind::Null:
        return {};
    case ScanValue::Kind::Text:
        return value.asText();
    case ScanValue::Kind::Integer:
        return std::to_string(value.asInteger());
    case ScanValue::Kind::Double:
        return numberText(value.asDouble(), format);
    }
    return {};
}

namespace {

// Adds one to a string of decimal digits, growing it on a carry out of the first digit.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

bool roundsUp(const std::string& kept, std::string_view dropped) {
    if (dropped.empty() || dropped[0] < '5')
        return false;
    if (dropped[0] > '5' || dropped.find_first_not_of('0', 1) != std::string_view::npos)
        return true;
    return (kept.back() - '0') % 2 == 1; // an exact tie goes to the even digit
}

} // namespace

double roundToHundredths(double value) {
    if (!std::isfinite(value) || value == 0.0)
        return value;
    // A double's exact decimal form is finite: a fraction of 2^-n has n decimals, and a double
    // has at most 1074 of them. Written out in full, ties and near-ties are told apart exactly.
    int exponent = 0;
    std::frexp(value, &exponent);
    const int decimals = std::max(2, std::numeric_limits<double>::digits - exponent);
    char buffer[1500];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::fixed, decimals);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto point = text.find('.');
    std::string kept(text.substr(0, point));
    kept.append(text.substr(point + 1, 2));
    if (roundsUp(kept, text.substr(point + 3)))
        incrementDigits(kept);

    kept += "e-2";
    double rounded = 0.0;
    std::from_chars(kept.data(), kept.data() + kept.size(), rounded);
    return std::signbit(value) ? -rounded : rounded;
}

std::optional<double> parseDecimal(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+')
        ++first;
    // from_chars takes "nan", "inf" and a minus sign of its own, which a size text never has
    // after a plus sign and which would show as a size.
    if (first != last && *first == '-' && first != text.data())
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

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

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t c = lead;
        char32_t smallest = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, c = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, c = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, c = lead & 0x07, smallest = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return false;
        i += length;
    }
    return true;
}

} // namespace quorvin
