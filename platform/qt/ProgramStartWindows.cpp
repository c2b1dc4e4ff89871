#include "ProgramStart.h"

#include "platform/windows/WideText.h"

#include <windows.h>

namespace quorvin::qt {

// The program itself starts, not a launcher that looks for it, so its start is the whole answer:
// failedLater is never called.
void startProgram(const std::string& program, const std::string& argument, QObject*,
                  std::function<void()>) {
    const std::wstring application = windows::toWide(program);
    // The application name is the exact path; the command line repeats it, quoted, for the
    // program's own argument parsing, then a blank and the argument.
    std::wstring commandLine = L"\"" + application + L"\" " + windows::toWide(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        throw ProcessStartError("Starting \"" + program + "\" failed: Windows error " +
                                std::to_string(GetLastError()));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace quorvin::qt
