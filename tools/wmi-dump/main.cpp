// wmi-dump: prints what the WMI backend answers for the scan's classes, for support and
// debugging. Exit codes: 0 done, 1 the backend or the scan failed, 2 bad arguments or input file.
#include "ClassDump.h"
#include "DumpFormats.h"
#include "DumpOptions.h"
#include "ScanReport.h"
#include "platform/UserLocale.h"
#include "platform/linux/LinuxSnapshot.h"
#include "platform/snapshot/SnapshotJson.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace quorvin;

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

// What the input named on the command line, or the machine, answers, and from which sources (a
// recording has none to name). A file that cannot be used is the user's input error, reported
// as such.
struct Answers {
    std::unique_ptr<snapshot::SnapshotProvider> provider;
    std::optional<snapshot::SourceNotes> sources;
};

Answers readAnswers(const dump::DumpOptions& options) {
    linux_hw::LinuxMachine machine;
    if (options.root)
        machine.root = *options.root;
    linux_hw::LinuxReading reading;
    try {
        if (options.snapshotFile)
            return {std::make_unique<snapshot::SnapshotProvider>(
                        snapshot::loadSnapshotFile(*options.snapshotFile)),
                    std::nullopt};
        if (options.smbiosFile)
            reading = linux_hw::readLinuxMachine(machine, *options.smbiosFile);
    } catch (const std::exception& e) {
        throw dump::UsageError(e.what());
    }
    if (!options.smbiosFile)
        reading = linux_hw::readLinuxMachine(machine);
    return {std::make_unique<snapshot::SnapshotProvider>(std::move(reading.snapshot)),
            std::move(reading.sources)};
}

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const dump::DumpOptions options = dump::parseDumpOptions(args);
        if (options.help) {
            std::cout << dump::usageText();
            return 0;
        }
        const Answers answers = readAnswers(options);
        wmi::WmiProvider& provider = *answers.provider;
        switch (options.mode) {
        case dump::OutputMode::Report:
            std::cout << dump::scanReport(provider, userNumberFormat(), QUORVIN_STORE_HOST);
            break;
        case dump::OutputMode::Json:
            std::cout << dump::jsonText(dump::collectScanClasses(provider));
            break;
        case dump::OutputMode::Readable:
            std::cout << dump::readableText(dump::collectScanClasses(provider),
                                            answers.sources ? &*answers.sources : nullptr);
            break;
        }
        std::cout.flush();
        return std::cout ? 0 : exitFailure;
    } catch (const dump::UsageError& e) {
        std::cerr << "wmi-dump: " << oneLine(e.what()) << "\n";
        return exitUsage;
    } catch (const std::exception& e) {
        std::cerr << "wmi-dump: " << oneLine(e.what()) << "\n";
        return exitFailure;
    }
}
