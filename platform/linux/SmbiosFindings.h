#pragma once

#include "SmbiosStructure.h"
#include "platform/snapshot/Snapshot.h"

#include <span>
#include <vector>

namespace quorvin::linux_hw {

// What the SMBIOS structures say for the scan's classes, as WMI would deliver it: one instance
// per type 0, 2 and 1 structure (for the BIOS, the board and the product), one per system
// memory array (type 16) and one per populated memory device (type 17). Processor and computer
// system instances also need the kernel's view, so only their SMBIOS parts are kept here.
struct SmbiosFindings {
    std::vector<snapshot::Instance> bios;
    std::vector<snapshot::Instance> baseboards;
    std::vector<snapshot::Instance> products;
    std::vector<snapshot::Instance> memoryArrays;
    std::vector<snapshot::Instance> memoryDevices;
    // From the first type 1 structure; null when there is none.
    ScanValue systemManufacturer = ScanValue::null();
    ScanValue systemModel = ScanValue::null();
    // The external clock (MHz) of each populated processor socket (type 4), in table order.
    std::vector<ScanValue> processorExternalClocks;
};

SmbiosFindings decodeFindings(std::span<const SmbiosStructure> structures);

// The single-structure decoders, for tests.
snapshot::Instance biosInstance(const SmbiosStructure& type0);
snapshot::Instance baseboardInstance(const SmbiosStructure& type2);
snapshot::Instance productInstance(const SmbiosStructure& type1);
snapshot::Instance memoryArrayInstance(const SmbiosStructure& type16);
// nullopt for an empty socket (size 0).
std::optional<snapshot::Instance> memoryDeviceInstance(const SmbiosStructure& type17);

} // namespace quorvin::linux_hw
