#pragma once

#include "platform/snapshot/Snapshot.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvin::linux_hw {

// At boot systemd's udev rules run dmi_memory_id on the dmi/id device and keep what the tables
// say about the memory in that device's database entry (run/udev/data/+dmi:id), which everyone
// may read: lines "E:MEMORY_ARRAY_MAX_CAPACITY=...", "E:MEMORY_DEVICE_0_SIZE=..." and so on.
//
// systemd counts in MEMORY_ARRAY_NUM_DEVICES every memory device of the table, and with several
// memory arrays each one's maximum overwrites the one before. So this source gives one array
// whatever the table holds: the last array's maximum capacity and the sockets of all arrays
// together, where the tables give one instance per system-memory array.
struct UdevMemoryFacts {
    std::optional<snapshot::Instance> memoryArray; // MaxCapacity (KB), MemoryDevices
    // One instance per populated socket, in device-number order: capacity (bytes, decimal text),
    // memorytype (WMI code), speed (MT/s), devicelocator.
    std::vector<snapshot::Instance> memoryDevices;
};

// Reads the entry's E: lines; other and malformed lines are passed over, values systemd writes
// for "unknown" ("Not Specified", a speed of 0 or 65535) and values that do not parse are null.
UdevMemoryFacts parseUdevMemoryEntry(std::string_view entry);

// nullopt when the file cannot be read (no systemd, an older one, or no tables at boot).
std::optional<UdevMemoryFacts> readUdevMemoryEntry(const std::filesystem::path& entryFile);

} // namespace quorvin::linux_hw
