#pragma once

#include "ScanValue.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvin {

// How numbers are written for the user. The decimal separator is the user's locale's and is
// handed in by the platform layer, never read from a process-wide setting.
struct NumberFormat {
    std::string decimalSeparator = ".";
};

// A double as the user sees it: at most 15 significant digits, no digit grouping, no decimal
// part when whole (8192, 15.92, 0.5, 1003.52), exponent form only for very large or small values.
std::string numberText(double value, const NumberFormat& format);

// The text a value contributes where it is joined to other text: empty and null give nothing,
// integers their decimal digits, doubles their numberText.
std::string joinText(const ScanValue& value, const NumberFormat& format);

// Rounds to two decimals, a tie going to the even digit (0.125 gives 0.12, 0.375 gives 0.38).
// Ties are judged on the double's exact value: the scan's sizes are quotients by a power of two,
// exact in binary, so 10737595407401 bytes give 10000.17 GB, not the 10000.16 of its 15-digit
// form 10000.1650000000.
double roundToHundredths(double value);

// A plain decimal number ("8589934592", "-1.5"); nullopt when the text is not one.
std::optional<double> parseDecimal(std::string_view text);

} // namespace quorvin
