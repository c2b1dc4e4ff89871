#include "SnapshotJson.h"

#include "scan/wmi/ScanClasses.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorvin::snapshot {

namespace {

using nlohmann::json;

[[noreturn]] void badValue(std::string_view className, std::string_view property,
                           std::string_view why) {
    throw std::runtime_error("Snapshot value " + std::string(className) + "." +
                             std::string(property) + " " + std::string(why));
}

std::optional<std::int64_t> integerOf(const json& value) {
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    if (value.is_number_unsigned())
        return static_cast<std::int64_t>(value.get<std::uint64_t>());
    if (value.is_number_float()) {
        const double d = value.get<double>();
        if (std::floor(d) == d && std::fabs(d) < 9.2e18)
            return static_cast<std::int64_t>(d);
    }
    if (value.is_string()) {
        const std::string& s = value.get_ref<const std::string&>();
        std::size_t used = 0;
        try {
            const long long parsed = std::stoll(s, &used);
            if (used == s.size())
                return parsed;
        } catch (const std::exception&) {
        }
    }
    return std::nullopt;
}

std::string plainText(const json& value) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_boolean())
        return value.get<bool>() ? "True" : "False";
    return value.dump();
}

// A JSON value as WMI would deliver the property; nullopt for values the scan cannot read
// (nested objects and arrays).
std::optional<ScanValue> toScanValue(std::string_view className, std::string_view property,
                                     const json& value) {
    if (value.is_null())
        return ScanValue::null();
    if (value.is_object() || value.is_array())
        return std::nullopt;

    const wmi::PropertyInfo* info = wmi::findScanProperty(className, property);
    if (!info) {
        if (value.is_number_integer() || value.is_number_unsigned())
            return ScanValue::integer(*integerOf(value));
        if (value.is_number_float())
            return ScanValue::real(value.get<double>());
        return ScanValue::text(plainText(value));
    }
    switch (info->type) {
    case wmi::CimType::String:
        return ScanValue::text(plainText(value));
    case wmi::CimType::UInt64: {
        if (value.is_number_unsigned())
            return ScanValue::text(std::to_string(value.get<std::uint64_t>()));
        const auto n = integerOf(value);
        if (!n || *n < 0)
            badValue(className, property, "must be a whole number of at least 0");
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

Instance toInstance(std::string_view className, const json& object) {
    Instance instance;
    for (const auto& [key, value] : object.items()) {
        if (auto scanValue = toScanValue(className, key, value))
            instance.push_back(Property{key, std::move(*scanValue)});
    }
    return instance;
}

std::string classNameOf(const json& instance) {
    const auto system = instance.find("CimSystemProperties");
    if (system != instance.end() && system->is_object()) {
        const auto name = system->find("ClassName");
        if (name != system->end() && name->is_string())
            return name->get<std::string>();
    }
    const auto wmiClass = instance.find("__CLASS"); // Get-WmiObject's shape
    if (wmiClass != instance.end() && wmiClass->is_string())
        return wmiClass->get<std::string>();
    return {};
}

bool isInstanceObject(const json& value) {
    return value.is_object() && !classNameOf(value).empty();
}

void addSelfNamedInstance(Snapshot& snapshot, const json& value) {
    if (!isInstanceObject(value))
        throw std::runtime_error("Snapshot holds an object that names no class: expected "
                                 "CimSystemProperties.ClassName");
    const std::string className = classNameOf(value);
    snapshot.addInstance(className, toInstance(className, value));
}

void addDocument(Snapshot& snapshot, const json& document) {
    if (document.is_array()) {
        for (const json& element : document)
            addSelfNamedInstance(snapshot, element);
        return;
    }
    if (!document.is_object())
        throw std::runtime_error("Snapshot must hold JSON objects or arrays of them");
    if (isInstanceObject(document)) {
        addSelfNamedInstance(snapshot, document);
        return;
    }
    // Keyed by class name.
    for (const auto& [className, instances] : document.items()) {
        snapshot.declareClass(className);
        if (instances.is_null())
            continue;
        if (instances.is_object()) {
            snapshot.addInstance(className, toInstance(className, instances));
        } else if (instances.is_array()) {
            for (const json& instance : instances) {
                if (!instance.is_object())
                    throw std::runtime_error("Snapshot class " + className +
                                             " holds something other than instance objects");
                snapshot.addInstance(className, toInstance(className, instance));
            }
        } else {
            throw std::runtime_error("Snapshot class " + className +
                                     " must map to an instance object or an array of them");
        }
    }
}

// PowerShell's ">" writes UTF-16LE with a byte order mark; the JSON reader wants UTF-8.
std::string utf8FromUtf16le(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit =
            static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = static_cast<unsigned char>(bytes[i + 2]) |
                                 (static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (unit < 0x80) {
            out += static_cast<char>(unit);
        } else if (unit < 0x800) {
            out += static_cast<char>(0xC0 | (unit >> 6));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        } else if (unit < 0x10000) {
            out += static_cast<char>(0xE0 | (unit >> 12));
            out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (unit >> 18));
            out += static_cast<char>(0x80 | ((unit >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return out;
}

} // namespace

Snapshot parseSnapshotJson(std::string_view jsonText) {
    Snapshot snapshot;
    snapshot.declareScanClasses();
    std::string text(jsonText);
    if (text.rfind("\xFF\xFE", 0) == 0)
        text = utf8FromUtf16le(std::string_view(text).substr(2));
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) // PowerShell's Out-File writes a byte order mark
        text.erase(0, 3);
    std::istringstream in(text);
    int documents = 0;
    try {
        while (true) {
            in >> std::ws;
            if (in.peek() == std::char_traits<char>::eof())
                break;
            json document;
            in >> document;
            addDocument(snapshot, document);
            ++documents;
        }
    } catch (const json::exception& e) {
        throw std::runtime_error(std::string("Snapshot is not valid JSON: ") + e.what());
    }
    if (documents == 0)
        throw std::runtime_error("Snapshot is empty: it holds no JSON document");
    return snapshot;
}

Snapshot loadSnapshotFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open the snapshot file " + file.string());
    std::ostringstream content;
    content << in.rdbuf();
    try {
        return parseSnapshotJson(content.str());
    } catch (const std::exception& e) {
        throw std::runtime_error(file.string() + ": " + e.what());
    }
}

} // namespace quorvin::snapshot
