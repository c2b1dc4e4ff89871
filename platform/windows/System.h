#pragma once

// The Win32 services the program and its windows use: errors, DLL loading, DPI, common
// controls, high contrast, the clipboard, starting programs and message boxes.

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvin::windows {

// The system's own sentence for an error number (FormatMessageW, in the user's language), without
// its line break; empty when the system has none.
std::string systemMessage(DWORD code);

// A failed Win32 call: what was being done, the system's sentence for the error and its number,
// e.g. "Opening the clipboard failed: Access is denied. (Windows error 5)".
class Win32Error : public std::runtime_error {
public:
    Win32Error(std::string_view what, DWORD code);
    DWORD code() const { return code_; }

private:
    DWORD code_;
};

// Throws Win32Error for the calling thread's last error.
[[noreturn]] void throwLastError(std::string_view what);

// The window, or Win32Error when its creation failed.
HWND checkedWindow(HWND window, std::string_view what);

// Keeps the program's folder (a Downloads folder, often, with whatever else lies there) and the
// current folder out of the places Windows looks for DLLs: only the system folder from then on,
// for the program's own loads and for those of the system's DLLs. Windows 7 without update
// KB2533623 lacks SetDefaultDllDirectories; there the current folder goes
// (SetDllDirectoryW(L"")), the safe search mode is set where it exists, and the DLLs the
// system's controls load by bare name later are loaded from the system folder at once. Call it
// first thing.
void restrictDllSearch();

// The full path of a DLL in the system folder ("C:\Windows\system32\atl.dll").
std::wstring systemLibraryPath(std::wstring_view name);

// Loads a DLL from the system folder by its full path; null when it is not there.
HMODULE loadSystemLibrary(std::wstring_view name);

// A function of a loaded DLL as the type it has; null when the module is null or lacks it (a
// function of a newer Windows, say). void(*)() is the type every function pointer converts
// through without complaint.
template <typename Function> Function libraryFunction(HMODULE module, const char* name) {
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Makes the process per-monitor DPI aware where Windows offers it (10, version 1703 and later),
// system DPI aware elsewhere (7, 8.1). The manifest says the same; this covers a program started
// without it. Call before the first window.
void becomeDpiAware();

// The dots per inch a window is drawn at: its monitor's where Windows tells each window's, the
// system's otherwise.
int dpiOf(HWND window);
int systemDpi();

// The window rectangle around the given client rectangle at a DPI.
RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi);

// How many pixels wide the text is in the font, as GDI measures it on the screen (the width a
// static control or a title bar draws it in); throws Win32Error when it cannot be measured.
int textWidth(HFONT font, std::wstring_view text);

// The message a per-monitor aware window gets when it moves to a screen of another scale.
inline constexpr UINT dpiChangedMessage = 0x02E0; // WM_DPICHANGED

// Windows' common controls (comctl32.dll, version 6 as the manifest asks), loaded when first used
// rather than imported: an imported comctl32 is loaded with the program, before the DLL search is
// restricted, and would bring in whatever uxtheme.dll lies beside the program. The functions are
// comctl32's own; each throws Win32Error when comctl32 cannot be loaded.
void initCommonControls(DWORD classes);
BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Whether the user has turned high contrast on (SPI_GETHIGHCONTRAST, HCF_HIGHCONTRASTON).
bool highContrastOn();

// One try at emptying the clipboard and putting the text on it as CF_UNICODETEXT, line breaks as
// they are (CR LF stays CR LF). The owner is the window asking. False when another program holds
// the clipboard open; throws Win32Error for any other failure.
bool putClipboardText(HWND owner, std::wstring_view text);

// Waits for the pause between two tries while answering what other threads and programs send
// this thread's windows: a program that empties the clipboard we own waits for our
// WM_DESTROYCLIPBOARD answer, and would otherwise hold the clipboard for the whole pause.
// Posted messages, input included, stay queued.
void waitAnsweringSentMessages(std::chrono::milliseconds pause);

// Starts the program at the exact path with one argument after a blank, its window shown
// normally, and does not wait for it. The path is handed over as the application name, so
// its blanks need no quoting; the command line repeats it, quoted, for the program's own
// parsing. Throws Win32Error when Windows cannot start it.
void startProgram(const std::wstring& program, const std::wstring& argument);

// Hands an address to the program the user chose for its scheme (the default browser, the mail
// program), as Explorer's "open" does, and does not wait for it. Throws Win32Error naming the
// address when Windows has no program for it or cannot start one.
void openWithSystemHandler(const std::wstring& address);

// A message box with the text, an OK button only, no icon and the given title; returns when it
// is closed. It is at least as wide as its title needs.
void showPlainMessage(HWND owner, std::wstring_view text, std::wstring_view title);

// The same with the error icon: the box that reports an error ending the program.
void showErrorMessage(HWND owner, std::wstring_view text, std::wstring_view title);

} // namespace quorvin::windows
