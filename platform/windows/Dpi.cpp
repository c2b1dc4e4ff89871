#include "Dpi.h"

#include "SystemLibrary.h"

namespace quorvin::windows {

namespace {

// A user32 function that older systems lack, or null.
template <typename Function> Function user32Function(const char* name) {
    return libraryFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

using SetAwarenessContext = BOOL(WINAPI*)(HANDLE);
using GetWindowDpi = UINT(WINAPI*)(HWND);
using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which Windows 7's headers do not name.
const HANDLE perMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

} // namespace

void becomeDpiAware() {
    static const auto setContext =
        user32Function<SetAwarenessContext>("SetProcessDpiAwarenessContext");
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
    static const auto getDpi = user32Function<GetWindowDpi>("GetDpiForWindow");
    if (getDpi != nullptr && window != nullptr) {
        const UINT dpi = getDpi(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return systemDpi();
}

RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi = user32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    RECT rect = client;
    if (adjustForDpi != nullptr)
        adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

} // namespace quorvin::windows
