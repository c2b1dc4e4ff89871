#include "WmiDump.h"

#include "results/HeadlessResultsWindow.h"
#include "scan/ScanRecord.h"
#include "scan/SystemQueries.h"
#include "scan/values/ScanValue.h"
#include "scan/wmi/Wmi.h"

#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>

namespace quorvin::dump {

namespace {

void setMode(DumpOptions& options, OutputMode mode, bool& modeGiven) {
    if (modeGiven && options.mode != mode)
        throw UsageError("--json and --report cannot be combined");
    options.mode = mode;
    modeGiven = true;
}

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

DumpOptions parseDumpOptions(std::span<const std::string> args) {
    DumpOptions options;
    bool modeGiven = false;
    std::set<std::string> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // A second value would silently replace the first.
        if (!given.insert(arg == "-h" ? "--help" : arg).second)
            throw UsageError(arg + " is given more than once");
        auto pathArgument = [&](const char* what) -> std::filesystem::path {
            if (i + 1 >= args.size() || args[i + 1].empty())
                throw UsageError(arg + " needs a " + what + " name");
            return args[++i];
        };
        if (arg == "--json")
            setMode(options, OutputMode::Json, modeGiven);
        else if (arg == "--report")
            setMode(options, OutputMode::Report, modeGiven);
        else if (arg == "--smbios")
            options.smbiosFile = pathArgument("file");
        else if (arg == "--snapshot")
            options.snapshotFile = pathArgument("file");
        else if (arg == "--root")
            options.root = pathArgument("folder");
        else if (arg == "--help" || arg == "-h")
            options.help = true;
        else
            throw UsageError("unknown argument '" + arg + "' (try --help)");
    }
    if (options.smbiosFile && options.snapshotFile)
        throw UsageError("--smbios and --snapshot cannot be combined");
    if (options.root && options.snapshotFile)
        throw UsageError("--root and --snapshot cannot be combined");
    return options;
}

const char* usageText() {
    return "Usage: wmi-dump [--json | --report] [--root DIR] [--smbios FILE | --snapshot FILE]\n"
           "Prints what the WMI backend answers for the seven classes the scan reads.\n"
           "  --json           one JSON object: class name -> array of instances\n"
           "  --report         run the whole scan and print its report and store address\n"
           "  --smbios FILE    read SMBIOS from a 'dmidecode --dump-bin' file instead of the\n"
           "                   machine's tables (kernel facts still come from this machine);\n"
           "                   a regular file of at most 4 MB\n"
           "  --snapshot FILE  replay recorded WMI instances (JSON) instead of this machine;\n"
           "                   a regular file of at most 64 MB\n"
           "  --root DIR       read the machine's files under DIR instead of /: the SMBIOS\n"
           "                   tables, sys/class/dmi/id, run/udev/data/+dmi:id, proc and sys\n"
           "The readable form names the source that answered each class: SMBIOS tables\n"
           "(root only), dmi/id, udev memory database, /proc.\n";
}

snapshot::Snapshot collectScanClasses(wmi::WmiProvider& provider) {
    const auto service = provider.bind(sessionPath(localComputer));
    snapshot::Snapshot answers;
    for (const wmi::ClassInfo& info : wmi::scanClasses()) {
        answers.declareClass(info.name);
        const auto items = service->execQuery(wmi::selectAllFrom(info.name));
        while (const auto item = items->next()) {
            snapshot::Instance instance;
            for (const wmi::PropertyInfo& property : info.properties)
                instance.push_back({std::string(property.name), item->get(property.name)});
            answers.addInstance(info.name, std::move(instance));
        }
    }
    return answers;
}

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

std::string scanReport(wmi::WmiProvider& provider, const NumberFormat& format,
                       const std::string& storeHost, const std::string& storeScheme) {
    HeadlessResultsWindow window(ScanEnvironment{provider, format, storeHost, storeScheme});
    window.getQuorvin();
    if (window.navigations().empty())
        throw std::runtime_error("The scan finished without opening the store page");
    // The address line ends as every line of the report does.
    return window.reportText() + "Address: " + window.navigations().back() + "\r\n";
}

} // namespace quorvin::dump
