// wmi-dump: prints what the WMI backend answers for the scan's classes, for support and
// debugging. Exit codes: 0 done, 1 the backend or the scan failed, 2 bad arguments or input file.
#include "WmiDump.h"
#include "platform/linux/LinuxSnapshot.h"
#include "platform/locale/UserLocale.h"
#include "platform/snapshot/Snapshot.h"
#include "quorvin/BuildSettings.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace quorvin;

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

// One line for the user on the error stream. The C library's stream: the C++ streams would have
// the tool set up their locales on every run, a good share of its short work.
void tellUser(const std::string& line) {
    std::fputs(("wmi-dump: " + line + "\n").c_str(), stderr);
}

// A recording made with Select-Object may leave out properties the scan reads; they replay as
// null, and the user hears of it once per class.
void noteLackingProperties(const snapshot::Snapshot& recording) {
    for (const snapshot::ClassInstances& c : recording.classes()) {
        if (c.lackingProperties.empty())
            continue;
        std::string names;
        for (const std::string& property : c.lackingProperties)
            names += (names.empty() ? "" : ", ") + property;
        tellUser("the recording lacks " + c.className + " " + names + "; read as null");
    }
}

// What the input named on the command line, or the machine, answers, and from which sources (a
// recording has none to name). A file that cannot be used is the user's input error, reported
// as such.
struct Answers {
    std::unique_ptr<snapshot::SnapshotProvider> provider;
    std::optional<snapshot::SourceNotes> sources;
};

Answers readInput(const dump::DumpOptions& options) {
    if (options.snapshotFile) {
        snapshot::Snapshot recording = snapshot::loadSnapshotFile(*options.snapshotFile);
        noteLackingProperties(recording);
        return {std::make_unique<snapshot::SnapshotProvider>(std::move(recording)), std::nullopt};
    }
    linux_hw::LinuxMachine machine;
    if (options.root)
        machine.root = *options.root;
    linux_hw::LinuxReading reading = options.smbiosFile
                                         ? linux_hw::readLinuxMachine(machine, *options.smbiosFile)
                                         : linux_hw::readLinuxMachine(machine);
    return {std::make_unique<snapshot::SnapshotProvider>(std::move(reading.snapshot)),
            std::move(reading.sources)};
}

Answers readAnswers(const dump::DumpOptions& options) {
    const bool namedByUser = options.snapshotFile || options.smbiosFile || options.root;
    if (!namedByUser)
        return readInput(options); // this machine: a failure is the backend's
    try {
        return readInput(options);
    } catch (const std::exception& e) {
        throw dump::UsageError(e.what());
    }
}

// A full disk or a closed pipe is a failure of the run, not a silent success.
void writeOut(const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        throw std::runtime_error(std::string("Writing to standard output failed: ") +
                                 std::strerror(errno));
}

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A closed pipe then fails the write with EPIPE, which is reported, instead of ending the
    // tool without a word.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const dump::DumpOptions options = dump::parseDumpOptions(args);
        if (options.help) {
            writeOut(dump::usageText());
            return 0;
        }
        const Answers answers = readAnswers(options);
        wmi::WmiProvider& provider = *answers.provider;
        switch (options.mode) {
        case dump::OutputMode::Report:
            writeOut(dump::scanReport(provider, locale::userNumberFormat(),
                                      quorvin::build::storeHost, quorvin::build::storeScheme));
            break;
        case dump::OutputMode::Json:
            writeOut(dump::jsonText(dump::collectScanClasses(provider)));
            break;
        case dump::OutputMode::Readable:
            writeOut(dump::readableText(dump::collectScanClasses(provider),
                                        answers.sources ? &*answers.sources : nullptr));
            break;
        }
        return 0;
    } catch (const dump::UsageError& e) {
        tellUser(oneLine(e.what()));
        return exitUsage;
    } catch (const std::exception& e) {
        tellUser(oneLine(e.what()));
        return exitFailure;
    }
}
