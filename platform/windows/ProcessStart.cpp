#include "ProcessStart.h"

#include "Win32Error.h"

namespace quorvin::windows {

void startProgram(const std::wstring& program, const std::wstring& argument) {
    std::wstring commandLine = L"\"" + program + L"\" " + argument;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        throwLastError("Starting the browser");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace quorvin::windows
