// Writes the SMBIOS parser's fuzzing seeds, made with the tests' table builder, into a directory.
#include "SmbiosBuilder.h"

#include <filesystem>
#include <fstream>
#include <iostream>

using namespace quorvin::testing;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: smbios-seed-corpus DIR\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    std::uint16_t count = 0;
    const Bytes table = realisticTable(&count);
    MemoryDevice extended;
    extended.size = 0x7FFF;
    extended.extendedSize = 65536;
    extended.speed = 0xFFFF;
    extended.extendedSpeed = 6400;
    MemoryArray large;
    large.maxCapacityKB = 0x80000000u;
    large.extendedMaxBytes = 4ull << 40;
    const Bytes extras = concat({memoryArrayStructure(large), memoryDeviceStructure(extended),
                                 processorStructure(0, true), endOfTable()});
    const std::vector<std::pair<std::string, Bytes>> seeds{
        {"v2-realistic.bin", dumpFile2(table, count)},
        {"v3-realistic.bin", dumpFile3(table)},
        {"v3-extended.bin", dumpFile3(extras)},
        {"v3-server.bin", dumpFile3(serverTable())},
        {"v2-truncated.bin",
         [&] {
             Bytes b = dumpFile2(table, count);
             b.resize(b.size() / 2);
             return b;
         }()},
    };
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << "smbios-seed-corpus: writing " << (dir / name).string() << " failed\n";
            return 1;
        }
    }
    return 0;
}
