#include "MessageBox.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace quorvin::windows {

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
    const HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE text{};
    GetTextExtentPoint32W(dc, title, length, &text);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    DeleteObject(font);
    // Where a window manager draws the title bar (Wine under X), its bold font may run half as
    // wide again as Windows' caption font.
    const int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
    return text.cx * 3 / 2 + GetSystemMetrics(SM_CXSMICON) + 3 * GetSystemMetrics(SM_CXSIZE) +
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
