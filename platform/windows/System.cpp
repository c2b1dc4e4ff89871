#include "System.h"

#include "Com.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace quorvin::windows {

std::string systemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr)
        return {};
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return toUtf8(text);
}

namespace {
std::string describe(std::string_view what, DWORD code) {
    const std::string sentence = systemMessage(code);
    const std::string number = "Windows error " + std::to_string(code);
    return std::string(what) +
           " failed: " + (sentence.empty() ? number : sentence + " (" + number + ")");
}
} // namespace

Win32Error::Win32Error(std::string_view what, DWORD code)
    : std::runtime_error(describe(what, code))
    , code_(code) {}

void throwLastError(std::string_view what) {
    throw Win32Error(what, GetLastError());
}

HWND checkedWindow(HWND window, std::string_view what) {
    if (window == nullptr)
        throwLastError(what);
    return window;
}

namespace {

// A function of kernel32 or user32, which every Win32 program has loaded, that older systems
// lack; null there.
template <typename Function> Function newerFunction(const wchar_t* module, const char* name) {
    return libraryFunction<Function>(GetModuleHandleW(module), name);
}

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetSearchPathModeFunction = BOOL(WINAPI*)(DWORD);

// The flags of Windows 8's headers, which Windows 7's (and MinGW's for 0x0601) do not name.
constexpr DWORD searchSystem32 = 0x00000800;            // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD safeSearchModePermanent = 0x00000001    // BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE
                                          | 0x00008000; // BASE_SEARCH_PATH_PERMANENT

} // namespace

void restrictDllSearch() {
    const auto setDefault = newerFunction<SetDefaultDllDirectoriesFunction>(
        L"kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault != nullptr && setDefault(searchSystem32))
        return;
    SetDllDirectoryW(L"");
    if (const auto setMode =
            newerFunction<SetSearchPathModeFunction>(L"kernel32.dll", "SetSearchPathMode"))
        setMode(safeSearchModePermanent);
    // Without it the program's own folder is still searched first for a DLL loaded by its bare
    // name. Those that the system's controls load so after start, and that are no known DLLs,
    // are loaded now from the system folder: a later load by name finds them loaded.
    for (const wchar_t* name : {L"uxtheme.dll", L"dwmapi.dll"})
        loadSystemLibrary(name);
}

std::wstring systemLibraryPath(std::wstring_view name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::wstring path(folder, length);
    if (path.back() != L'\\')
        path += L'\\';
    return path.append(name);
}

HMODULE loadSystemLibrary(std::wstring_view name) {
    const std::wstring path = systemLibraryPath(name);
    if (path.empty())
        return nullptr;
    // Its own imports are looked for beside it, in the system folder, too.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

namespace {

using SetAwarenessContext = BOOL(WINAPI*)(HANDLE);
using GetWindowDpi = UINT(WINAPI*)(HWND);
using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which Windows 7's headers do not name.
const HANDLE perMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

} // namespace

void becomeDpiAware() {
    static const auto setContext =
        newerFunction<SetAwarenessContext>(L"user32.dll", "SetProcessDpiAwarenessContext");
    if (setContext != nullptr && setContext(perMonitorAwareV2))
        return;
    // Already set by the manifest (ERROR_ACCESS_DENIED), or an older system: system aware.
    if (setContext == nullptr)
        SetProcessDPIAware();
}

int systemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int dpiOf(HWND window) {
    static const auto getDpi = newerFunction<GetWindowDpi>(L"user32.dll", "GetDpiForWindow");
    if (getDpi != nullptr && window != nullptr) {
        const UINT dpi = getDpi(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return systemDpi();
}

RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi =
        newerFunction<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT rect = client;
    if (adjustForDpi != nullptr)
        adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

namespace {

template <typename Function> Function entryPoint(HMODULE module, const char* name) {
    const auto function = libraryFunction<Function>(module, name);
    if (function == nullptr)
        throwLastError(std::string("Finding ") + name + " in comctl32.dll");
    return function;
}

struct Comctl32 {
    decltype(&InitCommonControlsEx) init;
    decltype(&SetWindowSubclass) setSubclass;
    decltype(&RemoveWindowSubclass) removeSubclass;
    decltype(&DefSubclassProc) defSubclass;

    static const Comctl32& get() {
        static const Comctl32 loaded = [] {
            // By its bare name, so that the manifest's activation context picks version 6 from
            // the side-by-side store; the search that restrictDllSearch left covers the rest.
            const HMODULE module = LoadLibraryW(L"comctl32.dll");
            if (module == nullptr)
                throwLastError("Loading comctl32.dll");
            // SetWindowSubclass and its siblings are exported by ordinal only before version 6.
            return Comctl32{
                entryPoint<decltype(&InitCommonControlsEx)>(module, "InitCommonControlsEx"),
                entryPoint<decltype(&SetWindowSubclass)>(module, "SetWindowSubclass"),
                entryPoint<decltype(&RemoveWindowSubclass)>(module, "RemoveWindowSubclass"),
                entryPoint<decltype(&DefSubclassProc)>(module, "DefSubclassProc")};
        }();
        return loaded;
    }
};

} // namespace

void initCommonControls(DWORD classes) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), classes};
    Comctl32::get().init(&controls);
}

BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    return Comctl32::get().setSubclass(window, procedure, id, data);
}

BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    return Comctl32::get().removeSubclass(window, procedure, id);
}

LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Comctl32::get().defSubclass(window, message, wParam, lParam);
}

bool highContrastOn() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

namespace {

// Closes the clipboard however the copy ends.
struct ClipboardClose {
    ~ClipboardClose() { CloseClipboard(); }
};

} // namespace

bool putClipboardText(HWND owner, std::wstring_view text) {
    if (!OpenClipboard(owner))
        return false;
    const ClipboardClose close;
    if (!EmptyClipboard())
        throwLastError("Emptying the clipboard");
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr)
        throwLastError("Making room for the clipboard text");
    auto* target = static_cast<wchar_t*>(GlobalLock(memory));
    if (target == nullptr) {
        GlobalFree(memory);
        throwLastError("Filling the clipboard text");
    }
    std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
    target[text.size()] = L'\0';
    GlobalUnlock(memory);
    // From here on the clipboard owns the memory.
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
        throwLastError("Putting the text on the clipboard");
    }
    return true;
}

void waitAnsweringSentMessages(std::chrono::milliseconds pause) {
    const ULONGLONG until =
        GetTickCount64() + static_cast<ULONGLONG>(std::max<long long>(0, pause.count()));
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now),
                                  QS_SENDMESSAGE);
        // Peeking answers every message sent to this thread; it removes nothing from the queue.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

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

int textWidth(HFONT font, std::wstring_view text) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    SIZE size{};
    const BOOL measured =
        GetTextExtentPoint32W(screen, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    if (!measured)
        throwLastError("Measuring the text \"" + toUtf8(std::wstring(text)) + "\"");
    return size.cx;
}

namespace {

// How wide a window's title bar must be for its caption: the caption in the title bar's font,
// the icon before it, the buttons after it and the frame round them.
int titleBarWidthFor(HWND window) {
    wchar_t title[256] = {};
    const int length = GetWindowTextW(window, title, 256);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (length == 0 || !SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return 0;
    const HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    int width = 0;
    try {
        width = textWidth(font, std::wstring_view(title, static_cast<std::size_t>(length)));
    } catch (const Win32Error&) {
        // Unmeasured, the box keeps the width Windows gave it: an error's message still shows.
    }
    DeleteObject(font);
    // Where a window manager draws the title bar (Wine under X), its bold font may run half as
    // wide again as Windows' caption font.
    const int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
    return width * 3 / 2 + GetSystemMetrics(SM_CXSMICON) + 3 * GetSystemMetrics(SM_CXSIZE) +
           4 * frame + 16;
}

// Widens a message box that is narrower than its title, keeping it centred where it was and its
// row of buttons centred in it.
void widenForTitle(HWND box) {
    RECT outer{};
    GetWindowRect(box, &outer);
    const int needed = titleBarWidthFor(box);
    const int delta = needed - (outer.right - outer.left);
    if (delta <= 0)
        return;
    SetWindowPos(box, nullptr, outer.left - delta / 2, outer.top, needed, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(box, &client);
    std::vector<std::pair<HWND, RECT>> buttons;
    long first = client.right;
    long last = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Button") != 0 ||
            !(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
            continue;
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&place), 2);
        buttons.emplace_back(child, place);
        first = std::min(first, place.left);
        last = std::max(last, place.right);
    }
    const long shift = (client.right - (last - first)) / 2 - first;
    for (const auto& [button, place] : buttons)
        SetWindowPos(button, nullptr, place.left + shift, place.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

thread_local HHOOK boxHook = nullptr;

LRESULT CALLBACK watchForTheBox(int code, WPARAM wParam, LPARAM lParam) {
    const HHOOK hook = boxHook;
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    wchar_t className[16] = {};
    // Once the box has laid itself out (its WM_INITDIALOG has returned), before it is shown.
    if (code == HC_ACTION && call->message == WM_INITDIALOG &&
        GetClassNameW(call->hwnd, className, 16) != 0 && lstrcmpW(className, L"#32770") == 0) {
        boxHook = nullptr;
        UnhookWindowsHookEx(hook);
        widenForTitle(call->hwnd);
        return 0;
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void showMessage(HWND owner, std::wstring_view text, std::wstring_view title, UINT icon) {
    const std::wstring textCopy(text);
    const std::wstring titleCopy(title);
    boxHook = SetWindowsHookExW(WH_CALLWNDPROCRET, watchForTheBox, nullptr, GetCurrentThreadId());
    MessageBoxW(owner, textCopy.c_str(), titleCopy.c_str(), MB_OK | MB_SETFOREGROUND | icon);
    if (boxHook != nullptr) {
        UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
}

} // namespace

void showPlainMessage(HWND owner, std::wstring_view text, std::wstring_view title) {
    showMessage(owner, text, title, 0);
}

void showErrorMessage(HWND owner, std::wstring_view text, std::wstring_view title) {
    showMessage(owner, text, title, MB_ICONERROR);
}

} // namespace quorvin::windows
