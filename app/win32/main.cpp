// The Windows program: the disclaimer, the scanning splash and the results window, one thread in
// a single-threaded COM apartment.
#include "Backend.h"
#include "ProgramWindows.h"

#include "platform/locale/UserLocale.h"
#include "platform/windows/Com.h"
#include "platform/windows/System.h"
#include "quorvin/BuildSettings.h"

#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <optional>

namespace {

int runProgram() {
    quorvin::windows::becomeDpiAware();
    quorvin::windows::initCommonControls(ICC_STANDARD_CLASSES);
    // COM starts with the results window, which alone needs it (the scan, the store page): the
    // disclaimer appears without waiting for it. It outlives every window.
    std::optional<quorvin::windows::ComApartment> apartment;

    const auto backend = quorvin::win32app::makeProgramBackend();
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
