// Writes the seeds of one machine-file fuzzer into a directory: the files of the tests' published
// machine and, where this machine has them, its own.
#include "MachineFiles.h"
#include "PublishedMachine.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    using namespace quorvin;
    const fuzzing::MachineFiles* files = argc == 3 ? fuzzing::machineFilesNamed(argv[1]) : nullptr;
    if (files == nullptr) {
        std::cerr << "usage: machine-seed-corpus udev-entry|dmi-id|proc DIR\n";
        return 2;
    }
    const std::filesystem::path dir = argv[2];
    std::filesystem::create_directories(dir);
    testing::FakeTree published;
    testing::writePublishedMachine(published, false);
    const std::pair<const char*, std::filesystem::path> roots[] = {{"published", published.root()},
                                                                   {"this-machine", "/"}};
    int written = 0;
    for (const auto& [name, root] : roots) {
        const std::string seed = fuzzing::packFiles(root, *files);
        if (seed.empty())
            continue;
        std::ofstream out(dir / name, std::ios::binary);
        out.write(seed.data(), static_cast<std::streamsize>(seed.size()));
        if (!out) {
            std::cerr << "machine-seed-corpus: writing " << (dir / name).string() << " failed\n";
            return 1;
        }
        ++written;
    }
    return written > 0 ? 0 : 1;
}
