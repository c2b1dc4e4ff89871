// libFuzzer target: any bytes pasted as a recording load or are refused with a readable error
// (std::runtime_error); what loads goes through the whole scan, report and store address.
#include "FuzzScan.h"

#include "platform/snapshot/Snapshot.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvin::snapshot::Snapshot recording;
    try {
        recording = quorvin::snapshot::parseSnapshotJson(
            std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const std::runtime_error&) {
        return 0;
    }
    quorvin::snapshot::SnapshotProvider provider(std::move(recording));
    try {
        quorvin::fuzzing::scanEverything(provider);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
