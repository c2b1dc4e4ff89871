#include "Backend.h"

#include "platform/linux/LinuxSnapshot.h"
#include "platform/snapshot/Snapshot.h"
#include "scan/wmi/Wmi.h"

#include <QFileInfo>

namespace quorvin::qtapp {

namespace {

using namespace quorvin;

std::unique_ptr<wmi::WmiProvider> makeRealBackend() {
    // QUORVIN_SNAPSHOT replays a recorded machine instead; the end-to-end tests use it.
    const QString recording = qEnvironmentVariable("QUORVIN_SNAPSHOT");
    if (!recording.isEmpty())
        return std::make_unique<snapshot::SnapshotProvider>(
            snapshot::loadSnapshotFile(QFileInfo(recording).filesystemFilePath()));
    return linux_hw::makeLinuxProvider();
}

} // namespace

std::unique_ptr<wmi::WmiProvider> makeProgramBackend() {
    return std::make_unique<wmi::DeferredProvider>(makeRealBackend);
}

} // namespace quorvin::qtapp
