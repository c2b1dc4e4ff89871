#include "ProcessStart.h"

#include "SystemLibrary.h"
#include "WideText.h"
#include "Win32Error.h"

#include <shellapi.h>

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

void openWithSystemHandler(const std::wstring& address) {
    const std::string what = "Opening \"" + toUtf8(address) + "\" with its default program";
    // shell32 from the system folder when first needed: imported, it would come with the
    // program's start, before the DLL search is restricted.
    using ShellExecuteFunction = decltype(&ShellExecuteW);
    static const auto shellExecute =
        libraryFunction<ShellExecuteFunction>(loadSystemLibrary(L"shell32.dll"), "ShellExecuteW");
    if (shellExecute == nullptr)
        throwLastError(what);
    SetLastError(ERROR_SUCCESS);
    const auto result = reinterpret_cast<INT_PTR>(
        shellExecute(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // Above 32: started. At or below, the error is in the thread's last error where the shell
    // set one; its own codes (no association) otherwise.
    if (result > 32)
        return;
    const DWORD error = GetLastError();
    throw Win32Error(what, error != ERROR_SUCCESS          ? error
                           : result == SE_ERR_NOASSOC      ? ERROR_NO_ASSOCIATION
                           : result == SE_ERR_ACCESSDENIED ? ERROR_ACCESS_DENIED
                                                           : ERROR_FILE_NOT_FOUND);
}

} // namespace quorvin::windows
