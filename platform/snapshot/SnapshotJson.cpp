#include "Snapshot.h"

#include "platform/files/TextFile.h"
#include "scan/ScanRecord.h"
#include "scan/values/ScanValue.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace quorvin::snapshot {

namespace {

using nlohmann::json;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string utf8FromUtf16le(std::string_view bytes) {
    if (bytes.size() % 2 != 0)
        throw std::runtime_error(
            "The recording is UTF-16LE text with an odd number of bytes: the file "
            "was cut in the middle of a character");
    const auto unitAt = [&](std::size_t i) -> char32_t {
        return static_cast<unsigned char>(bytes[i]) |
               (static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, unit);
    }
    return out;
}

[[noreturn]] void unreadableEncoding(std::string_view encoding) {
    throw std::runtime_error("The recording is " + std::string(encoding) +
                             " text, which is not read here: save it as UTF-8 "
                             "(Out-File -Encoding utf8) or UTF-16LE");
}

// A recording's bytes as UTF-8 text. PowerShell saves UTF-8, with or without a byte order mark
// (Out-File -Encoding utf8), or UTF-16LE with one (">" in Windows PowerShell); both are read. The
// other byte order marks (UTF-16BE, UTF-32) and a UTF-16LE file cut in the middle of a character
// throw std::runtime_error with one line that says what the file holds.
std::string recordingUtf8(std::string bytes) {
    // UTF-32LE's mark begins with UTF-16LE's, so it is looked at first.
    if (startsWith(bytes, std::string_view("\xFF\xFE\0\0", 4)))
        unreadableEncoding("UTF-32LE");
    if (startsWith(bytes, std::string_view("\0\0\xFE\xFF", 4)))
        unreadableEncoding("UTF-32BE");
    if (startsWith(bytes, "\xFE\xFF"))
        unreadableEncoding("UTF-16BE");
    if (startsWith(bytes, "\xFF\xFE"))
        return utf8FromUtf16le(std::string_view(bytes).substr(2));
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        bytes.erase(0, 3);
    return bytes;
}

[[noreturn]] void badValue(std::string_view className, std::string_view property,
                           std::string_view why) {
    throw std::runtime_error("The recording's value " + std::string(className) + "." +
                             std::string(property) + " " + std::string(why));
}

// Decimal digits after optional leading white space and sign, as a recording may write a number
// as text; nullopt when anything else is in the text or the number does not fit.
template <typename Number> std::optional<Number> wholeNumber(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    Number parsed{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return parsed;
}

std::optional<std::int64_t> integerOf(const json& value) {
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    if (value.is_number_unsigned() &&
        value.get<std::uint64_t>() <= static_cast<std::uint64_t>(INT64_MAX))
        return static_cast<std::int64_t>(value.get<std::uint64_t>());
    if (value.is_number_float()) {
        const double d = value.get<double>();
        if (std::floor(d) == d && std::fabs(d) < 9.2e18)
            return static_cast<std::int64_t>(d);
    }
    if (value.is_string())
        return wholeNumber<std::int64_t>(value.get_ref<const std::string&>());
    return std::nullopt;
}

// A uint64 property, which WMI delivers as decimal text: a JSON number or decimal digits, from 0
// to 18446744073709551615.
std::optional<std::uint64_t> uint64Of(const json& value) {
    if (value.is_number_unsigned())
        return value.get<std::uint64_t>();
    if (value.is_number_integer()) {
        const std::int64_t n = value.get<std::int64_t>();
        return n < 0 ? std::nullopt : std::optional<std::uint64_t>(n);
    }
    if (value.is_number_float()) {
        const double d = value.get<double>();
        if (std::floor(d) == d && d >= 0 && d < 18446744073709551616.0)
            return static_cast<std::uint64_t>(d);
    }
    if (value.is_string())
        return wholeNumber<std::uint64_t>(value.get_ref<const std::string&>());
    return std::nullopt;
}

std::string plainText(const json& value) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_boolean())
        return value.get<bool>() ? "True" : "False";
    return value.dump();
}

// A JSON value as WMI would deliver the property; nullopt for a nested object or array of a
// property the scan does not read (PowerShell adds many), which is left out.
std::optional<ScanValue> toScanValue(std::string_view className, std::string_view property,
                                     const json& value) {
    if (value.is_null())
        return ScanValue::null();
    const wmi::PropertyInfo* info = wmi::findScanProperty(className, property);
    if (value.is_object() || value.is_array()) {
        if (info)
            badValue(className, property,
                     value.is_object() ? "must be a single value, not an object"
                                       : "must be a single value, not an array");
        return std::nullopt;
    }
    if (!info) {
        if (value.is_number_integer() || value.is_number_unsigned())
            if (const auto n = integerOf(value))
                return ScanValue::integer(*n);
        if (value.is_number())
            return ScanValue::real(value.get<double>());
        return ScanValue::text(plainText(value));
    }
    switch (info->type) {
    case wmi::CimType::String:
        return ScanValue::text(plainText(value));
    case wmi::CimType::UInt64: {
        const auto n = uint64Of(value);
        if (!n)
            badValue(className, property, "must be a whole number from 0 to 18446744073709551615");
        return ScanValue::text(std::to_string(*n));
    }
    case wmi::CimType::UInt16:
    case wmi::CimType::UInt32: {
        const auto n = integerOf(value);
        if (!n || *n < 0 || *n > 0xFFFFFFFFLL)
            badValue(className, property, "must be a whole number from 0 to 4294967295");
        return ScanValue::integer(*n);
    }
    }
    return std::nullopt;
}

// A recording carries what the recording command gave it: Select-Object may leave out properties
// a real instance always has. Those the scan reads replay as null and are noted.
void addInstance(Snapshot& snapshot, const std::string& className, const json& object) {
    Instance instance;
    for (const auto& [key, value] : object.items()) {
        if (auto scanValue = toScanValue(className, key, value))
            instance.push_back(Property{key, std::move(*scanValue)});
    }
    if (const wmi::ClassInfo* info = wmi::findScanClass(className)) {
        for (const wmi::PropertyInfo& property : info->properties) {
            const bool carried =
                std::any_of(instance.begin(), instance.end(), [&](const Property& p) {
                    return equalsIgnoreCase(p.name, property.name);
                });
            if (!carried) {
                instance.push_back(Property{std::string(property.name), ScanValue::null()});
                snapshot.noteLackingProperty(className, property.name);
            }
        }
    }
    snapshot.addInstance(className, std::move(instance));
}

const std::string* textAt(const json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? &it->get_ref<const std::string&>() : nullptr;
}

// The class an instance names, in any of the shapes PowerShell records: Get-CimInstance's
// CimSystemProperties.ClassName, or its CimClass (printed as "root/cimv2:Win32_BIOS" below the
// default depth), Get-WmiObject's __CLASS, or a CreationClassName that names a scan class.
// Empty when it names none.
std::string classNameOf(const json& instance) {
    const auto system = instance.find("CimSystemProperties");
    if (system != instance.end() && system->is_object())
        if (const std::string* name = textAt(*system, "ClassName"))
            return *name;
    if (const std::string* name = textAt(instance, "__CLASS"))
        return *name;
    const auto cimClass = instance.find("CimClass");
    if (cimClass != instance.end()) {
        if (cimClass->is_string()) {
            const std::string& path = cimClass->get_ref<const std::string&>();
            return path.substr(path.find(':') + 1);
        }
        if (cimClass->is_object())
            if (const std::string* name = textAt(*cimClass, "CimClassName"))
                return *name;
    }
    if (const std::string* name = textAt(instance, "CreationClassName"))
        if (wmi::findScanClass(*name))
            return *name;
    return {};
}

[[noreturn]] void namesNoClass() {
    throw std::runtime_error(
        "The recording holds an object that names no class: a recorded instance names it in "
        "CimSystemProperties.ClassName, CimClass, __CLASS or CreationClassName; record the "
        "machine with the command in the README, \"Recorded machines\"");
}

void addSelfNamedInstance(Snapshot& snapshot, const json& value) {
    if (!value.is_object())
        throw std::runtime_error(
            "The recording holds a list with something other than instance objects");
    const std::string className = classNameOf(value);
    if (className.empty())
        namesNoClass();
    addInstance(snapshot, className, value);
}

// {"Win32_Bios": [...], ...}, as wmi-dump --json writes it: a key names a scan class, or every
// value is a class's instances.
bool isKeyedByClass(const json& object) {
    const auto items = object.items();
    return std::any_of(
               items.begin(), items.end(),
               [](const auto& item) { return wmi::findScanClass(item.key()) != nullptr; }) ||
           (!object.empty() && std::all_of(items.begin(), items.end(), [](const auto& item) {
               return item.value().is_object() || item.value().is_array() || item.value().is_null();
           }));
}

void addDocument(Snapshot& snapshot, const json& document) {
    if (document.is_array()) {
        for (const json& element : document)
            addSelfNamedInstance(snapshot, element);
        return;
    }
    if (!document.is_object())
        throw std::runtime_error("The recording must hold JSON objects or arrays of them");
    if (!classNameOf(document).empty()) {
        addSelfNamedInstance(snapshot, document);
        return;
    }
    if (!isKeyedByClass(document))
        namesNoClass();
    for (const auto& [className, instances] : document.items()) {
        snapshot.declareClass(className);
        if (instances.is_null())
            continue;
        if (instances.is_object()) {
            addInstance(snapshot, className, instances);
        } else if (instances.is_array()) {
            for (const json& instance : instances) {
                if (!instance.is_object())
                    throw std::runtime_error("The recording's class " + className +
                                             " holds something other than instance objects");
                addInstance(snapshot, className, instance);
            }
        } else {
            throw std::runtime_error("The recording's class " + className +
                                     " must map to an instance object or an array of them");
        }
    }
}

// "line 12, column 5" of the byte at offset, counted as the JSON reader counts them.
std::string placeOf(std::string_view text, std::size_t offset) {
    const std::string_view before = text.substr(0, std::min(offset, text.size()));
    const auto lines = std::count(before.begin(), before.end(), '\n');
    const auto lineStart = before.rfind('\n');
    const std::size_t column =
        lineStart == std::string_view::npos ? before.size() : before.size() - lineStart - 1;
    return "line " + std::to_string(lines + 1) + ", column " + std::to_string(column);
}

// The JSON reader's reason without its own position, which counts from the document's start.
std::string reasonOf(const json::exception& e) {
    const std::string what = e.what();
    const auto column = what.find(", column ");
    const auto reason = column == std::string::npos ? column : what.find(": ", column);
    return reason == std::string::npos ? what : what.substr(reason + 2);
}

} // namespace

Snapshot parseSnapshotJson(std::string_view jsonText) {
    Snapshot snapshot;
    snapshot.declareScanClasses();
    const std::string text = recordingUtf8(std::string(jsonText));
    std::istringstream in(text);
    int documents = 0;
    while (true) {
        in >> std::ws;
        if (in.peek() == std::char_traits<char>::eof())
            break;
        const auto start = static_cast<std::size_t>(in.tellg());
        json document;
        try {
            in >> document;
        } catch (const json::parse_error& e) {
            throw std::runtime_error("The recording is not valid JSON at " +
                                     placeOf(text, start + e.byte) + ": " + reasonOf(e));
        } catch (const json::exception& e) {
            throw std::runtime_error("The recording is not valid JSON at " + placeOf(text, start) +
                                     ": " + reasonOf(e));
        }
        try {
            addDocument(snapshot, document);
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(std::string(e.what()) + " (in the JSON document at " +
                                     placeOf(text, start + 1) + ")");
        }
        ++documents;
    }
    if (documents == 0)
        throw std::runtime_error("The recording is empty: it holds no JSON document");
    return snapshot;
}

Snapshot loadSnapshotFile(const std::filesystem::path& file) {
    const std::string content =
        files::readUserFile(file, files::recordingFileLimit, "the recording ");
    try {
        return parseSnapshotJson(content);
    } catch (const std::exception& e) {
        throw std::runtime_error(file.string() + ": " + e.what());
    }
}

} // namespace quorvin::snapshot
