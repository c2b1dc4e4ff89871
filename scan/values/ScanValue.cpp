#include "ScanValue.h"

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

} // namespace quorvin
