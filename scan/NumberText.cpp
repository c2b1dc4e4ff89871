#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace quorvin {

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
    // 15 significant digits: d.dddddddddddddde±X
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto ePos = text.find('e');
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, ePos - 2));
    int exponent = 0;
    std::from_chars(text.data() + ePos + 1 + (text[ePos + 1] == '+'), text.data() + text.size(),
                    exponent);

    // Index, within digits, of the hundredths digit (digits[0] stands at 10^exponent).
    int hundredths = exponent + 2;
    if (hundredths >= static_cast<int>(digits.size()) - 1)
        return value; // no digit beyond the hundredths: already rounded
    if (hundredths < 0) {
        digits.insert(0, static_cast<std::size_t>(-hundredths), '0');
        hundredths = 0;
    }
    std::string kept = digits.substr(0, static_cast<std::size_t>(hundredths) + 1);
    const std::string_view dropped = std::string_view(digits).substr(kept.size());
    if (roundsUp(kept, dropped))
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
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != last)
        return std::nullopt;
    return value;
}

} // namespace quorvin
