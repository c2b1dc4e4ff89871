// libFuzzer target: any contents of one source's files (udev's memory entry, the dmi/id
// attributes or the /proc and /sys processor files, chosen when built) in a machine tree, read
// as the program reads this machine, then scanned whole. Reading never throws for bad contents.
#include "FuzzScan.h"
#include "MachineFiles.h"

#include "platform/linux/LinuxSnapshot.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

const quorvin::fuzzing::MachineFiles& files() {
    static const auto* chosen = quorvin::fuzzing::machineFilesNamed(QUORVIN_FUZZ_FILES);
    if (chosen == nullptr)
        std::abort();
    return *chosen;
}

// One tree for the whole run, its files rewritten for each input. It lies in the folder the
// fuzzer runs in (its build folder) under a fixed name, as libFuzzer ends without running exit
// handlers that could remove it; the next run starts it afresh.
const fs::path& tree() {
    static const fs::path root = [] {
        const fs::path folder = fs::current_path() / ("machine-tree-" + std::string(files().name));
        fs::remove_all(folder);
        fs::create_directories(folder);
        return folder;
    }();
    return root;
}

void writeTree(std::string_view input) {
    const auto& paths = files().paths;
    const auto parts = quorvin::fuzzing::splitParts(input, paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const fs::path file = tree() / paths[i];
        if (!parts[i]) {
            fs::remove(file);
            continue;
        }
        fs::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(parts[i]->data(), static_cast<std::streamsize>(parts[i]->size()));
        if (!out.flush())
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeTree(std::string_view(reinterpret_cast<const char*>(data), size));
    quorvin::linux_hw::LinuxMachine machine;
    machine.root = tree();
    machine.machine = "x86_64";
    auto reading = quorvin::linux_hw::readLinuxMachine(machine);
    quorvin::snapshot::SnapshotProvider provider(std::move(reading.snapshot));
    try {
        quorvin::fuzzing::scanEverything(provider);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
