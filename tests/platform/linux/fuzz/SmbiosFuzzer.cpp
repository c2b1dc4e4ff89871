// libFuzzer target: any byte string, read as a dump file and as a bare table, must decode without
// reading out of bounds or crashing; a refused dump is an SmbiosError, nothing else.
#include "platform/linux/Smbios.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

void decodeAll(const std::vector<quorvin::linux_hw::SmbiosStructure>& structures) {
    const auto findings = quorvin::linux_hw::decodeFindings(structures);
    // Touch every string so that a view past the buffer is caught by the address sanitizer.
    std::size_t total = 0;
    for (const auto* list : {&findings.bios, &findings.baseboards, &findings.products,
                             &findings.memoryArrays, &findings.memoryDevices})
        for (const auto& instance : *list)
            for (const auto& property : instance)
                if (property.value.isText())
                    for (char c : property.value.asText())
                        total += static_cast<unsigned char>(c);
    static volatile std::size_t sink;
    sink = total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const auto table = quorvin::linux_hw::splitDump(bytes);
        decodeAll(table.structures());
    } catch (const quorvin::linux_hw::SmbiosError&) {
    }
    decodeAll(quorvin::linux_hw::parseStructures(bytes));
    return 0;
}
