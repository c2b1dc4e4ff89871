#include "Backend.h"

#include "platform/linux/LinuxSnapshot.h"
#include "platform/snapshot/SnapshotJson.h"

#include <QFileInfo>

#include <functional>

namespace {

using namespace quorvin;

// Makes the real provider at the first bind.
class DeferredProvider : public wmi::WmiProvider {
public:
    explicit DeferredProvider(std::function<std::unique_ptr<wmi::WmiProvider>()> make)
        : make_(std::move(make)) {}

    std::unique_ptr<wmi::WmiService> bind(std::string_view objectPath) override {
        if (!inner_)
            inner_ = make_();
        return inner_->bind(objectPath);
    }

private:
    std::function<std::unique_ptr<wmi::WmiProvider>()> make_;
    std::unique_ptr<wmi::WmiProvider> inner_;
};

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
    return std::make_unique<DeferredProvider>(makeRealBackend);
}
