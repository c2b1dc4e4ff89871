#include "DumpFormats.h"

#include "scan/values/ScanValue.h"

#include <nlohmann/json.hpp>

namespace quorvin::dump {

namespace {

nlohmann::ordered_json jsonValue(const ScanValue& value) {
    switch (value.kind()) {
    case ScanValue::Kind::Text:
        return value.asText();
    case ScanValue::Kind::Integer:
        return value.asInteger();
    case ScanValue::Kind::Double:
        return value.asDouble();
    case ScanValue::Kind::Empty:
    case ScanValue::Kind::Null:
        break;
    }
    return nullptr;
}

std::string readableValue(const ScanValue& value) {
    switch (value.kind()) {
    case ScanValue::Kind::Text:
        return "\"" + value.asText() + "\"";
    case ScanValue::Kind::Integer:
        return std::to_string(value.asInteger());
    case ScanValue::Kind::Double:
        return numberText(value.asDouble(), NumberFormat{});
    case ScanValue::Kind::Empty:
    case ScanValue::Kind::Null:
        break;
    }
    return "null";
}

std::string sourceText(const std::vector<std::string>& sources) {
    if (sources.empty())
        return "; no source answered";
    std::string text = "; from ";
    for (std::size_t i = 0; i < sources.size(); ++i)
        text += (i ? ", " : "") + sources[i];
    return text;
}

} // namespace

std::string jsonText(const snapshot::Snapshot& answers) {
    nlohmann::ordered_json root = nlohmann::ordered_json::object();
    for (const snapshot::ClassInstances& answer : answers.classes()) {
        nlohmann::ordered_json instances = nlohmann::ordered_json::array();
        for (const auto& instance : answer.instances) {
            nlohmann::ordered_json object = nlohmann::ordered_json::object();
            for (const snapshot::Property& p : instance)
                object[p.name] = jsonValue(p.value);
            instances.push_back(std::move(object));
        }
        root[answer.className] = std::move(instances);
    }
    // Invalid UTF-8 in firmware strings is replaced rather than refused.
    return root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string readableText(const snapshot::Snapshot& answers, const snapshot::SourceNotes* sources) {
    std::string out;
    for (const snapshot::ClassInstances& answer : answers.classes()) {
        const std::size_t n = answer.instances.size();
        out += answer.className + " (" + std::to_string(n) + (n == 1 ? " instance" : " instances");
        if (sources)
            out += sourceText(sources->sourcesOf(answer.className));
        out += ")\n";
        for (std::size_t i = 0; i < n; ++i) {
            out += "  #" + std::to_string(i + 1) + "\n";
            for (const snapshot::Property& p : answer.instances[i])
                out += "    " + p.name + ": " + readableValue(p.value) + "\n";
        }
    }
    return out;
}

} // namespace quorvin::dump
