#include "DumpOptions.h"

#include <set>

namespace quorvin::dump {

namespace {

void setMode(DumpOptions& options, OutputMode mode, bool& modeGiven) {
    if (modeGiven && options.mode != mode)
        throw UsageError("--json and --report cannot be combined");
    options.mode = mode;
    modeGiven = true;
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

} // namespace quorvin::dump
