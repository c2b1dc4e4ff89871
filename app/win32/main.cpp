// The Windows program: the disclaimer, the scanning splash and the results window, one thread in
// a single-threaded COM apartment.
#include "ProgramWindows.h"

#include "platform/locale/UserLocale.h"
#include "platform/snapshot/Snapshot.h"
#include "platform/windows/Com.h"
#include "platform/windows/ComWmi.h"
#include "platform/windows/System.h"
#include "quorvin/BuildSettings.h"
#include "scan/wmi/Wmi.h"

#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <filesystem>
#include <optional>
#include <string>

namespace {

std::wstring environmentText(const wchar_t* name) {
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0)
        return {};
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), length));
    return value;
}

// What answers the scan's WMI queries: Windows' own WMI, or the recorded machine that
// QUORVIN_SNAPSHOT names (the end-to-end tests use it). Nothing is read until the scan binds its
// session, so nothing is scanned before the disclaimer has been accepted.
std::unique_ptr<quorvin::wmi::WmiProvider> makeProgramBackend() {
    return std::make_unique<quorvin::wmi::DeferredProvider>(
        []() -> std::unique_ptr<quorvin::wmi::WmiProvider> {
            const std::wstring recording = environmentText(L"QUORVIN_SNAPSHOT");
            if (!recording.empty())
                return std::make_unique<quorvin::snapshot::SnapshotProvider>(
                    quorvin::snapshot::loadSnapshotFile(std::filesystem::path(recording)));
            return std::make_unique<quorvin::windows::ComWmiProvider>();
        });
}

int runProgram() {
    quorvin::windows::becomeDpiAware();
    quorvin::windows::initCommonControls(ICC_STANDARD_CLASSES);
    // COM starts with the results window, which alone needs it (the scan, the store page): the
    // disclaimer appears without waiting for it. It outlives every window.
    std::optional<quorvin::windows::ComApartment> apartment;

    const auto backend = makeProgramBackend();
    int exitCode = 0;
    {
        quorvin::win32app::ProgramWindows program([&](auto errors) {
            if (!apartment)
                apartment.emplace();
            return std::make_unique<quorvin::win32forms::Form1>(
                quorvin::ScanEnvironment{*backend, quorvin::locale::userNumberFormat(),
                                         quorvin::build::storeHost, quorvin::build::storeScheme},
                quorvin::windows::toWide(quorvin::build::chatBrowser), std::move(errors));
        });
        program.start();
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (program.preTranslateMessage(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        exitCode = static_cast<int>(message.wParam);
    }
    return exitCode;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything loads a DLL: none from the program's folder.
    quorvin::windows::restrictDllSearch();
    try {
        return runProgram();
    } catch (const std::exception& error) {
        // Only start-up itself (the first window) fails here; handlers report their own.
        quorvin::windows::showErrorMessage(nullptr, quorvin::windows::toWide(error.what()),
                                           quorvin::windows::toWide(quorvin::layout::programTitle));
        return 1;
    }
}
