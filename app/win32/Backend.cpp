#include "Backend.h"

#include "platform/snapshot/Snapshot.h"
#include "platform/windows/ComWmi.h"
#include "scan/wmi/Wmi.h"

#include <windows.h>

#include <filesystem>
#include <string>

namespace quorvin::win32app {

namespace {

using namespace quorvin;

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
    return std::make_unique<wmi::DeferredProvider>(makeRealBackend);
}

} // namespace quorvin::win32app
