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

} // namespace quorvin
