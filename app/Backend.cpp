#include "Backend.h"

#include <functional>

#ifdef _WIN32
#include "platform/windows/ComApartment.h"
#include "platform/windows/ComWmiProvider.h"
#else
#include "platform/linux/LinuxSnapshot.h"
#include "platform/wmi/SnapshotJson.h"

#include <cstdlib>
#endif

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

#ifdef _WIN32
// Keeps the user-interface thread in its single-threaded apartment while WMI is used.
class ComBackend : public wmi::WmiProvider {
public:
    std::unique_ptr<wmi::WmiService> bind(std::string_view objectPath) override {
        return provider_.bind(objectPath);
    }

private:
    windows::ComApartment apartment_;
    windows::ComWmiProvider provider_;
};
#endif

std::unique_ptr<wmi::WmiProvider> makeRealBackend() {
#ifdef _WIN32
    return std::make_unique<ComBackend>();
#else
    // QUORVIN_SNAPSHOT replays a recorded machine instead; the end-to-end tests use it.
    if (const char* recording = std::getenv("QUORVIN_SNAPSHOT"); recording && *recording)
        return std::make_unique<wmi::SnapshotProvider>(wmi::loadSnapshotFile(recording));
    return linux_hw::makeLinuxProvider();
#endif
}

} // namespace

std::unique_ptr<wmi::WmiProvider> makeProgramBackend() {
    return std::make_unique<DeferredProvider>(makeRealBackend);
}
