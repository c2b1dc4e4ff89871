#include "Backend.h"

#include "platform/snapshot/SnapshotJson.h"
#include "platform/windows/ComWmiProvider.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

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

std::wstring environmentText(const wchar_t* name) {
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0)
        return {};
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), length));
    return value;
}

std::unique_ptr<wmi::WmiProvider> makeRealBackend() {
    const std::wstring recording = environmentText(L"QUORVIN_SNAPSHOT");
    if (!recording.empty())
        return std::make_unique<snapshot::SnapshotProvider>(
            snapshot::loadSnapshotFile(std::filesystem::path(recording)));
    return std::make_unique<windows::ComWmiProvider>();
}

} // namespace

std::unique_ptr<wmi::WmiProvider> makeProgramBackend() {
    return std::make_unique<DeferredProvider>(makeRealBackend);
}
