// Writes the text on the Windows clipboard to a file, as UTF-8 and byte for byte (CR LF stays
// CR LF), for the tests that judge what the program copied: Wine's export to the X clipboard
// turns CR LF into LF, so only Windows' own clipboard API tells what the program put there.
// Usage: clipboard-text OUTPUT_FILE, or clipboard-text --clear to empty the clipboard first, so
// that an old text cannot pass for a new one. Exit codes: 0 done, 1 no text on the clipboard,
// 2 error.
#include "platform/windows/Com.h"

#include <windows.h>

#include <string>

namespace {

// Another program may hold the clipboard open for a moment, so opening it is tried for a while.
bool openClipboard() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(20);
    }
    return false;
}

// The clipboard's Unicode text; false when it holds none.
bool clipboardText(std::string& text) {
    if (!openClipboard())
        return false;
    bool found = false;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = quorvin::windows::toUtf8(wide);
            found = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return found;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 2;
    if (std::wstring(argv[1]) == L"--clear") {
        if (!openClipboard())
            return 2;
        const bool emptied = EmptyClipboard();
        CloseClipboard();
        return emptied ? 0 : 2;
    }
    std::string text;
    if (!clipboardText(text))
        return 1;
    const HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(file);
    return ok ? 0 : 2;
}
