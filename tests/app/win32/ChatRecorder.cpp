// Stands in for the chat browser in the Windows tests: writes how it was started beside itself,
// in <program>.args (the number of arguments, then each on a line of its own, as the Linux tests'
// script does) and <program>.cmdline (the command line exactly as it came), both UTF-8. Each file
// appears whole, so a test that sees it can read it.
#include "platform/windows/Com.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

bool writeWhole(const std::wstring& path, const std::string& content) {
    const std::wstring partial = path + L".tmp";
    const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    CloseHandle(file);
    return ok && MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return 2;
    const wchar_t* commandLine = GetCommandLineW();
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
    if (arguments == nullptr)
        return 2;
    std::string record = std::to_string(count - 1) + "\n";
    for (int i = 1; i < count; ++i)
        record += quorvin::windows::toUtf8(arguments[i]) + "\n";
    LocalFree(arguments);
    const std::wstring program(self, length);
    const bool ok = writeWhole(program + L".cmdline", quorvin::windows::toUtf8(commandLine)) &&
                    writeWhole(program + L".args", record);
    return ok ? 0 : 1;
}
