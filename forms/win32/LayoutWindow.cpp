#include "LayoutWindow.h"

#include "HandlerFailure.h"
#include "ResourceIds.h"
#include "WindowStyles.h"
#include "platform/windows/Dpi.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32Error.h"

#include <stdexcept>
#include <string>

namespace quorvin::win32 {

namespace {

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

ControlClass controlClassFor(layout::ControlKind kind) {
    switch (kind) {
    case layout::ControlKind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case layout::ControlKind::Label:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case layout::ControlKind::TextBox:
        return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case layout::ControlKind::CommandButton:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case layout::ControlKind::ListBox:
        return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case layout::ControlKind::Picture:
        return {L"STATIC", SS_ICON | SS_REALSIZECONTROL, 0};
    case layout::ControlKind::Browser:
        // Stands in for the browser control where the system has none.
        return {L"STATIC", 0, 0};
    }
    return {L"STATIC", 0, 0};
}

HICON programIcon(int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                         MAKEINTRESOURCEW(QUORVIN_ICON_PROGRAM), IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR));
}

} // namespace

LayoutWindow::LayoutWindow(const layout::WindowLayout& layout)
    : layout_(layout) {}

LayoutWindow::~LayoutWindow() {
    if (window_ != nullptr) {
        // Gone with its object: no notification reaches a half-destroyed window.
        onUnloaded = nullptr;
        DestroyWindow(window_);
    }
}

HWND LayoutWindow::control(std::string_view name) const {
    const layout::Control& entry = layout_.at(name);
    if (window_ == nullptr)
        throw std::logic_error(std::string(layout_.name) + " is not loaded");
    return controls_[static_cast<std::size_t>(&entry - layout_.controls.data())];
}

const layout::Control* LayoutWindow::controlOf(HWND child) const {
    if (child == nullptr || window_ == nullptr || GetParent(child) != window_)
        return nullptr;
    const int index = GetDlgCtrlID(child) - firstControlId;
    if (index < 0 || static_cast<std::size_t>(index) >= controls_.size() ||
        controls_[static_cast<std::size_t>(index)] != child)
        return nullptr;
    return &layout_.controls[static_cast<std::size_t>(index)];
}

RECT LayoutWindow::controlRect(const layout::Control& control, int dpi) const {
    const layout::PixelRect pixels = layout::toPixels(absolutePlace(layout_, control), dpi);
    return {pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
}

void LayoutWindow::registerClass() const {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, windowClassName(layout_), &windowClass))
        return;
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = programIcon(GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = programIcon(GetSystemMetrics(SM_CXSMICON));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = windowClassName(layout_);
    if (RegisterClassExW(&windowClass) == 0)
        windows::throwLastError("Registering the window class of " + std::string(layout_.name));
}

void LayoutWindow::load() {
    if (window_ != nullptr)
        return;
    registerClass();
    dpi_ = windows::systemDpi();
    const WindowStyles styles = stylesFor(layout_);
    const RECT client = clientRectOnScreen(
        layout_, dpi_, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    const RECT outer = windows::windowRectForClient(client, styles.style, styles.exStyle, dpi_);
    const std::wstring caption = windows::toWide(layout_.caption);
    const HWND owner = layout_.inTaskbar ? nullptr : hiddenOwner();
    // The window procedure fills window_ at WM_NCCREATE.
    windows::checkedWindow(CreateWindowExW(styles.exStyle, windowClassName(layout_),
                                           caption.c_str(), styles.style, outer.left, outer.top,
                                           outer.right - outer.left, outer.bottom - outer.top,
                                           owner, nullptr, GetModuleHandleW(nullptr), this),
                           "Making the window " + std::string(layout_.name));
    controls_.assign(layout_.controls.size(), nullptr);
    for (std::size_t index : creationOrder(layout_))
        makeControl(index);
    // On a screen of another scale than the system's, the window takes that scale at once.
    const int actual = windows::dpiOf(window_);
    if (actual != dpi_) {
        dpi_ = actual;
        placeWindow(nullptr);
    }
    placeControls();
    afterLoad();
}

void LayoutWindow::makeControl(std::size_t index) {
    const layout::Control& entry = layout_.controls[index];
    const int id = firstControlId + static_cast<int>(index);
    const RECT place = controlRect(entry, dpi_);
    HWND child = nullptr;
    if (entry.kind == layout::ControlKind::Browser)
        child = makeBrowser(entry, id, place);
    if (child == nullptr) {
        const ControlClass kind = controlClassFor(entry.kind);
        const std::wstring caption = windows::toWide(entry.caption);
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (entry.visible ? WS_VISIBLE : 0) | kind.style |
                      extraStyle(entry);
        if (entry.kind == layout::ControlKind::Label && !labelWraps(entry))
            style = (style & ~SS_TYPEMASK) | SS_LEFTNOWORDWRAP;
        child = CreateWindowExW(kind.exStyle, kind.className, caption.c_str(), style, place.left,
                                place.top, place.right - place.left, place.bottom - place.top,
                                window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    }
    controls_[index] =
        windows::checkedWindow(child, "Making the control " + std::string(entry.name));
}

void LayoutWindow::placeWindow(const RECT* suggested) {
    const WindowStyles styles = stylesFor(layout_);
    const RECT client = clientRectOnScreen(
        layout_, dpi_, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    const RECT outer = windows::windowRectForClient(client, styles.style, styles.exStyle, dpi_);
    const int left = suggested != nullptr ? suggested->left : outer.left;
    const int top = suggested != nullptr ? suggested->top : outer.top;
    SetWindowPos(window_, nullptr, left, top, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayoutWindow::placeControls() {
    for (std::size_t index = 0; index < controls_.size(); ++index) {
        const layout::Control& entry = layout_.controls[index];
        const HWND child = controls_[index];
        const RECT place = controlRect(entry, dpi_);
        MoveWindow(child, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   TRUE);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.get(entry.font, dpi_)),
                     TRUE);
        if (entry.kind == layout::ControlKind::ListBox)
            SendMessageW(child, LB_SETITEMHEIGHT, 0, layout::toPixels(listRowTwips, dpi_));
    }
    afterLayout(dpi_);
}

void LayoutWindow::show() {
    load();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    const auto stops = layout_.tabStops();
    // Kept for the activation too, which under X may come after this, as the window manager
    // hands the focus over.
    lastFocus_ = stops.empty() ? nullptr : control(stops.front()->name);
    SetFocus(lastFocus_ != nullptr ? lastFocus_ : window_);
}

void LayoutWindow::unload() {
    if (window_ != nullptr)
        DestroyWindow(window_);
}

bool LayoutWindow::preTranslateMessage(MSG& message) {
    if (window_ == nullptr)
        return false;
    if (message.message == WM_KEYDOWN) {
        const layout::Control* focused = controlOf(GetFocus());
        const auto kind = focused != nullptr ? focused->kind : layout::ControlKind::Label;
        if (message.wParam == VK_RETURN && kind == layout::ControlKind::CommandButton) {
            SendMessageW(GetFocus(), BM_CLICK, 0, 0);
            return true;
        }
        // A multi-line text box wants every key, and outside a dialog it would keep Tab and
        // turn Esc into closing the window: Tab moves on from it, Enter and Esc do nothing.
        if (kind == layout::ControlKind::TextBox) {
            if (message.wParam == VK_TAB) {
                moveFocus(GetKeyState(VK_SHIFT) < 0);
                return true;
            }
            if (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)
                return true;
        }
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

void LayoutWindow::moveFocus(bool backwards) {
    const HWND next = GetNextDlgTabItem(window_, GetFocus(), backwards);
    if (next != nullptr)
        SetFocus(next);
}

LRESULT LayoutWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const layout::Control* entry = controlOf(reinterpret_cast<HWND>(lParam));
        // The read-only text box keeps a text box's white, as a locked one does.
        const bool textBox = entry != nullptr && entry->kind == layout::ControlKind::TextBox;
        const int background = textBox ? COLOR_WINDOW : COLOR_BTNFACE;
        const bool blue = entry != nullptr && entry->colour == layout::TextColour::Blue;
        SetTextColor(dc, blue ? RGB(0, 0, 255)
                              : GetSysColor(textBox ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(background));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
    }
    case WM_COMMAND:
        // The dialog manager's IDOK and IDCANCEL (Enter, Esc) name no control here.
        if (lParam != 0)
            if (const layout::Control* entry = controlOf(reinterpret_cast<HWND>(lParam)))
                onCommand(*entry, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        // The focus comes back where it was when the window is active again.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(window_, focus))
                lastFocus_ = focus;
            return 0;
        }
        if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(window_, lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_CLOSE:
        unload();
        return 0;
    case WM_NEXTDLGCTL:
        // What a dialog does for the controls that ask it to move the focus.
        if (LOWORD(lParam) != 0)
            SetFocus(reinterpret_cast<HWND>(wParam));
        else
            moveFocus(wParam != 0);
        return 0;
    case windows::dpiChangedMessage:
        dpi_ = HIWORD(wParam);
        placeWindow(reinterpret_cast<const RECT*>(lParam));
        placeControls();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK LayoutWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<LayoutWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<LayoutWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->controls_.clear();
        self->lastFocus_ = nullptr;
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        if (self->onUnloaded)
            runHandler([&] { self->onUnloaded(); });
        return result;
    }
    LRESULT result = 0;
    if (!runHandler([&] { result = self->handleMessage(message, wParam, lParam); }))
        return 0;
    return result;
}

} // namespace quorvin::win32
