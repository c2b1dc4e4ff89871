#include "LayoutWindow.h"

#include "LayoutRules.h"
#include "ResourceIds.h"
#include "platform/windows/Com.h"
#include "platform/windows/System.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace quorvin::win32forms {

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

// The work area of the monitor that holds the point, or of the nearest one.
RECT workAreaAt(POINT point) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcWork;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

HICON programIcon(int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                         MAKEINTRESOURCEW(QUORVIN_ICON_PROGRAM), IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR));
}

// The hidden top-level window that owns the windows kept out of the taskbar, as Windows
// programs do it; made at the first call. Throws Win32Error when it cannot be made.
HWND hiddenOwner() {
    constexpr const wchar_t* ownerClassName = L"Quorvin.Owner";
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

// The room a button's caption keeps on each side: its edges and focus rectangle.
constexpr int buttonTextMarginTwips = 75;

} // namespace

FontSet::~FontSet() {
    for (const Entry& entry : entries_)
        DeleteObject(entry.handle);
}

HFONT FontSet::get(const layout::Font& font, int dpi) {
    for (const Entry& entry : entries_)
        if (entry.font == font && entry.dpi == dpi)
            return entry.handle;
    const std::wstring family = faceAt(font.family, dpi);
    const HFONT handle =
        CreateFontW(-fontPixelHeight(font.points, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                    FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, family.c_str());
    if (handle == nullptr)
        windows::throwLastError("Making the font " + std::string(font.family));
    entries_.push_back({font, dpi, handle});
    return handle;
}

LayoutWindow::LayoutWindow(const layout::WindowLayout& layout, ErrorSink errors)
    : layout_(layout)
    , errors_(std::move(errors)) {
    layout::checkLayout(layout_);
}

bool LayoutWindow::runHandler(const std::function<void()>& handler) const {
    if (errors_)
        return errors_(handler);
    [&]() noexcept { handler(); }();
    return true;
}

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
    layout::PixelRect pixels = layout::toPixels(absolutePlace(layout_, control), dpi);
    if (layout::growsToHoldText(control)) {
        const bool button = control.kind == layout::ControlKind::CommandButton;
        // Measured in the very font the control gets, which need not be the designer's; a
        // button's caption stays inside its edges and focus rectangle.
        const int needed =
            windows::textWidth(fonts_.get(control.font, dpi), windows::toWide(control.caption)) +
            (button ? 2 * layout::toPixels(buttonTextMarginTwips, dpi) : 0);
        const layout::Control* parent = layout_.find(control.parent);
        const layout::PixelRect within =
            parent != nullptr
                ? layout::toPixels(absolutePlace(layout_, *parent), dpi)
                : layout::PixelRect{0, 0, layout::toPixels(layout_.client.width, dpi)};
        pixels = layout::widenedToText(layout_, control, pixels, within.left,
                                       within.left + within.width, needed);
    }
    RECT rect{pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
    if (heightCut_ > 0 && givesWay(layout_, control))
        rect.bottom = std::max(rect.top, rect.bottom - heightCut_);
    return rect;
}

void LayoutWindow::registerClass() const {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = windowClassName(layout_);
    if (GetClassInfoExW(instance, className.c_str(), &windowClass))
        return;
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = programIcon(GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = programIcon(GetSystemMetrics(SM_CXSMICON));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className.c_str();
    if (RegisterClassExW(&windowClass) == 0)
        windows::throwLastError("Registering the window class of " + std::string(layout_.name));
}

void LayoutWindow::load() {
    if (window_ != nullptr)
        return;
    registerClass();
    dpi_ = windows::systemDpi();
    highContrast_ = windows::highContrastOn();
    drawnOver_ = drawnOver(layout_);
    const WindowStyles styles = stylesFor(layout_);
    const std::wstring caption = windows::toWide(layout_.caption);
    const HWND owner = layout_.inTaskbar ? nullptr : hiddenOwner();
    // Made at the origin and placed at once, where the work area allows, before it is shown.
    // The window procedure fills window_ at WM_NCCREATE.
    windows::checkedWindow(CreateWindowExW(styles.exStyle, windowClassName(layout_).c_str(),
                                           caption.c_str(), styles.style, 0, 0, 0, 0, owner,
                                           nullptr, GetModuleHandleW(nullptr), this),
                           "Making the window " + std::string(layout_.name));
    // On a screen of another scale than the system's, the window takes that scale at once.
    dpi_ = windows::dpiOf(window_);
    placeWindow(nullptr);
    controls_.assign(layout_.controls.size(), nullptr);
    for (std::size_t index : readingOrder(layout_))
        makeControl(index);
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
            style = (style & ~SS_TYPEMASK) |
                    (layout::growsAboutCentre(layout_, entry) ? SS_CENTER : SS_LEFTNOWORDWRAP);
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
    // A window laid out at a place opens on the screen that holds it, a centred one on the main
    // screen.
    const POINT designedCorner{layout::toPixels(layout_.client.left, dpi_),
                               layout::toPixels(layout_.client.top, dpi_)};
    const bool centred = layout_.start == layout::StartPosition::CenterScreen;
    const RECT work = workAreaAt(centred ? POINT{0, 0} : designedCorner);
    const RECT client = clientRectOnScreen(layout_, dpi_, work);
    RECT outer = windows::windowRectForClient(client, styles.style, styles.exStyle, dpi_);
    if (suggested != nullptr) {
        // Moved to a screen of another scale: where Windows says, as it says. Windows itself
        // keeps a window no taller than all screens together; the controls fit what it gave.
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        RECT given{};
        GetWindowRect(window_, &given);
        heightCut_ = takeSuggested(given, outer, mostHeightCut(layout_, dpi_)).heightCut;
        return;
    }
    // Placed twice where the frame Windows draws is not the one computed (a caption or border
    // of another size than the DPI's), so that the client area keeps its designed size.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const FittedWindow fitted = fitInWorkArea(outer, work, mostHeightCut(layout_, dpi_));
        heightCut_ = fitted.heightCut;
        SetWindowPos(window_, nullptr, fitted.frame.left, fitted.frame.top,
                     fitted.frame.right - fitted.frame.left, fitted.frame.bottom - fitted.frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        RECT frame{};
        RECT inside{};
        GetWindowRect(window_, &frame);
        GetClientRect(window_, &inside);
        const long wrongWidth = (client.right - client.left) - inside.right;
        const long wrongHeight = (client.bottom - client.top - heightCut_) - inside.bottom;
        if (wrongWidth == 0 && wrongHeight == 0)
            break;
        outer.right += wrongWidth;
        outer.bottom += wrongHeight;
    }
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
    leaveOverlapsToOthers();
    afterLayout(dpi_);
}

void LayoutWindow::leaveOverlapsToOthers() {
    // Z-order is reading order, so a frame lies above what stands in it and a caption label
    // above its value. Each such control's window region leaves the places of the controls drawn
    // over it to them: they are neither clipped by it nor painted over.
    for (std::size_t index = 0; index < controls_.size(); ++index) {
        if (drawnOver_[index].empty())
            continue;
        const RECT own = controlRect(layout_.controls[index], dpi_);
        HRGN region = CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
        for (std::size_t other : drawnOver_[index]) {
            RECT over = controlRect(layout_.controls[other], dpi_);
            OffsetRect(&over, -own.left, -own.top);
            const HRGN cut = CreateRectRgnIndirect(&over);
            CombineRgn(region, region, cut, RGN_DIFF);
            DeleteObject(cut);
        }
        // The window owns the region from here on.
        if (!SetWindowRgn(controls_[index], region, TRUE))
            DeleteObject(region);
    }
}

void LayoutWindow::takeColourScheme() {
    highContrast_ = windows::highContrastOn();
    // Common controls take the new system colours when told, then everything is drawn again.
    for (const HWND child : controls_)
        SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
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
        // Tab follows the layout's Tab order, not z-order (which is reading order).
        const bool tab =
            message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
        if (tab && focusedControl() != nullptr) {
            moveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        }
        const layout::Control* focused = controlOf(GetFocus());
        const auto kind = focused != nullptr ? focused->kind : layout::ControlKind::Label;
        if (message.wParam == VK_RETURN && kind == layout::ControlKind::CommandButton) {
            SendMessageW(GetFocus(), BM_CLICK, 0, 0);
            return true;
        }
        // A multi-line text box wants every key, and outside a dialog it would turn Esc into
        // closing the window: Enter and Esc do nothing there.
        if (kind == layout::ControlKind::TextBox &&
            (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE))
            return true;
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

HWND LayoutWindow::focusedControl() const {
    HWND focus = GetFocus();
    // A control's own inner windows (the browser's) count as the control.
    while (focus != nullptr && GetParent(focus) != window_)
        focus = GetParent(focus);
    return focus != nullptr && controlOf(focus) != nullptr ? focus : nullptr;
}

void LayoutWindow::moveFocus(bool backwards) {
    const HWND focused = focusedControl();
    const layout::Control* current = controlOf(focused);
    std::string_view from = current != nullptr ? current->name : std::string_view();
    // A stop that is disabled or hidden now is passed over, once round the window at most.
    for (std::size_t tries = 0; tries < layout_.controls.size(); ++tries) {
        const layout::Control* next = nextTabStop(layout_, from, backwards);
        if (next == nullptr || next->name == (current != nullptr ? current->name : ""))
            return;
        const HWND target = control(next->name);
        if (IsWindowVisible(target) && IsWindowEnabled(target)) {
            // As the dialog manager does: focus rectangles show from the first Tab on, and a
            // text box entered with Tab has its text selected.
            SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
            if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                SendMessageW(target, EM_SETSEL, 0, -1);
            SetFocus(target);
            return;
        }
        from = next->name;
    }
}

LRESULT LayoutWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const layout::Control* entry = controlOf(reinterpret_cast<HWND>(lParam));
        if (entry == nullptr)
            break;
        const Colour background = backgroundColour(*entry);
        SetTextColor(dc, textColour(*entry, highContrast_).resolve());
        SetBkColor(dc, background.resolve());
        return reinterpret_cast<LRESULT>(GetSysColorBrush(background.systemColour));
    }
    case WM_SYSCOLORCHANGE:
        takeColourScheme();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST)
            takeColourScheme();
        break;
    case WM_COMMAND:
        // The dialog manager's IDOK and IDCANCEL (Enter, Esc) name no control here.
        if (lParam != 0)
            if (const layout::Control* entry = controlOf(reinterpret_cast<HWND>(lParam)))
                onCommand(*entry, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        // The focus comes back where it was when the window is active again: to the control
        // itself, not to a window inside it (the browser's page window, which each navigation
        // replaces).
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND focus = focusedControl())
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
        // What a dialog does for the controls that ask it to move the focus; the focus goes to
        // Tab stops only (the dialog manager's arrow keys would offer it labels too).
        if (LOWORD(lParam) == 0) {
            moveFocus(wParam != 0);
        } else if (const layout::Control* target = controlOf(reinterpret_cast<HWND>(wParam));
                   target != nullptr && layout::takesFocus(target->kind)) {
            SetFocus(reinterpret_cast<HWND>(wParam));
        }
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
            self->runHandler([&] { self->onUnloaded(); });
        return result;
    }
    LRESULT result = 0;
    if (!self->runHandler([&] { result = self->handleMessage(message, wParam, lParam); }))
        return 0;
    return result;
}

} // namespace quorvin::win32forms
