#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace quorvin {

// One WMI property as the scan keeps it: never assigned (empty), reported without a value
// (null), or a text, integer or double exactly as delivered.
class ScanValue {
public:
    enum class Kind { Empty, Null, Text, Integer, Double };

    ScanValue() = default;
    static ScanValue null();
    static ScanValue text(std::string value);
    static ScanValue integer(std::int64_t value);
    static ScanValue real(double value);
    // The text where there is one, null where the source gave none.
    static ScanValue textOrNull(std::optional<std::string> value);

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isText() const { return kind() == Kind::Text; }
    bool isInteger() const { return kind() == Kind::Integer; }
    bool isDouble() const { return kind() == Kind::Double; }

    // Typed access; each throws std::logic_error when the value holds another kind.
    const std::string& asText() const;
    std::int64_t asInteger() const;
    double asDouble() const;
    // Adds to the end of a text value in place, so a text built piece by piece costs time linear
    // in its length. Throws std::logic_error when the value holds another kind.
    void appendText(std::string_view more);

    friend bool operator==(const ScanValue&, const ScanValue&) = default;

private:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) = default;
    };
    std::variant<std::monostate, NullTag, std::string, std::int64_t, double> value_;
};

const char* kindName(ScanValue::Kind kind);

// A readable form for messages and test output, e.g. text "DIMM0" or null.
std::string describe(const ScanValue& value);

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
