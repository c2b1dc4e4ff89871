#include "WindowStyles.h"

#include "platform/windows/Com.h"
#include "platform/windows/System.h"

#include <stdexcept>

namespace quorvin::win32forms {

WindowStyles stylesFor(const layout::WindowLayout& window) {
    // No WS_CLIPCHILDREN: group boxes draw no background of their own, the window's shows
    // through them.
    DWORD style = 0;
    DWORD exStyle = window.inTaskbar ? WS_EX_APPWINDOW : 0;
    switch (window.frame) {
    case layout::WindowFrame::FixedDialog:
        if (window.caption.empty()) {
            style |= WS_POPUP | WS_DLGFRAME;
        } else {
            style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
            exStyle |= WS_EX_DLGMODALFRAME;
        }
        break;
    case layout::WindowFrame::FixedSingle:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        break;
    }
    return {style, exStyle};
}

bool labelWraps(const layout::Control& label) {
    constexpr double twipsPerPoint = 20;
    return !layout::showsFixedText(label) &&
           label.place.height >= 2 * label.font.points * twipsPerPoint;
}

std::wstring windowClassName(const layout::WindowLayout& window) {
    if (window.className.empty())
        throw std::logic_error("The window " + std::string(window.name) + " has no window class");
    return windows::toWide(window.className);
}

HWND hiddenOwner() {
    static HWND owner = nullptr;
    if (owner != nullptr && IsWindow(owner))
        return owner;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ownerClassName;
    // Registered once; a second registration fails harmlessly with ERROR_CLASS_ALREADY_EXISTS.
    RegisterClassExW(&windowClass);
    const std::wstring title = windows::toWide(layout::programTitle);
    owner = windows::checkedWindow(CreateWindowExW(0, ownerClassName, title.c_str(), WS_POPUP, 0, 0,
                                                   0, 0, nullptr, nullptr,
                                                   GetModuleHandleW(nullptr), nullptr),
                                   "Making the windows' owner");
    return owner;
}

RECT clientRectOnScreen(const layout::WindowLayout& window, int dpi, const RECT& workArea) {
    // The client area's size is its own twips converted, not the difference of two rounded edges
    // (at 144 DPI 1845 + 11775 twips would give 1177 pixels where Frame1, as wide, has 1178).
    const layout::PixelRect client{
        layout::toPixels(window.client.left, dpi), layout::toPixels(window.client.top, dpi),
        layout::toPixels(window.client.width, dpi), layout::toPixels(window.client.height, dpi)};
    RECT rect{client.left, client.top, client.left + client.width, client.top + client.height};
    if (window.start == layout::StartPosition::CenterScreen) {
        const int left = workArea.left + (workArea.right - workArea.left - client.width) / 2;
        const int top = workArea.top + (workArea.bottom - workArea.top - client.height) / 2;
        rect = {left, top, left + client.width, top + client.height};
    }
    return rect;
}

} // namespace quorvin::win32forms
