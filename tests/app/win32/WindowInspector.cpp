// Reports one of the program's top-level windows as Windows itself sees it, from another process:
// the window's styles, owner, activation, DPI and place; each control's designer name (its id is
// 100 + its index in the window's layout table), class, text, styles, place, focus and z-order;
// a list's rows and selection; and what the accessibility layer (MSAA, through oleacc) reads.
// The end-to-end tests find controls by name through it and judge the windows by its answers.
//
// Usage: window-inspector [--wait SECONDS] CLASS                  the window as JSON
//        window-inspector [--wait SECONDS] CLASS --control NAME   a visible control's centre on
//                                                                  the screen, "x y", to click
//        window-inspector [--wait SECONDS] CLASS --layout         every control's rectangle
//                                                                  against the layout's twips at
//                                                                  the window's DPI
//        window-inspector [--wait SECONDS] CLASS --modules        the full path of every module
//                                                                  the window's process loaded
// CLASS is a window class name ("Quorvin.Form1"); --wait polls for a visible window of that class.
// Exit codes: 0 done, 1 no such window or control, 2 usage error, 3 the layout differs.
#include "forms/WindowLayout.h"
#include "platform/windows/Com.h"

#include <nlohmann/json.hpp>
#include <windows.h>

#include <oleacc.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
using quorvin::windows::toUtf8;
using quorvin::windows::toWide;
namespace layout = quorvin::layout;

// The layout table a window class is built from; null for a window that is none of the three.
const layout::WindowLayout* layoutOf(const std::string& windowClass) {
    for (const layout::WindowLayout* table :
         {&layout::dialogLayout(), &layout::splashLayout(), &layout::form1Layout()})
        if (table->className == windowClass)
            return table;
    return nullptr;
}

std::string classOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return toUtf8(name);
}

// A window's text as its own process answers WM_GETTEXT (an edit control keeps its text to
// itself, so the window manager's copy is not enough).
std::string textOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 2000, &copied))
        return {};
    text.resize(copied);
    return toUtf8(text);
}

// A top-level window's caption as the window manager keeps it: read without a message, so also
// while the window's thread is busy (the splash's, scanning).
std::string captionOf(HWND window) {
    wchar_t caption[512] = {};
    InternalGetWindowText(window, caption, 512);
    return toUtf8(caption);
}

// How wide the caption is in the title bar's font, and how much of the title bar is left for it
// beside the window's icon and its three buttons.
json captionFitJson(HWND window) {
    const std::wstring caption = toWide(captionOf(window));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE text{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    RECT frame{};
    GetWindowRect(window, &frame);
    const int room = (frame.right - frame.left) - GetSystemMetrics(SM_CXSMICON) -
                     3 * GetSystemMetrics(SM_CXSIZE) - 4 * GetSystemMetrics(SM_CXFIXEDFRAME);
    return {{"width", text.cx}, {"room", room}};
}

// The designer name of a control of a window built from the given table; empty for others.
std::string designerName(const layout::WindowLayout* table, HWND control) {
    const int index = GetDlgCtrlID(control) - 100;
    if (!table || index < 0 || index >= static_cast<int>(table->controls.size()))
        return {};
    return std::string(table->controls[index].name);
}

json rectJson(const RECT& r) {
    return {{"left", r.left},
            {"top", r.top},
            {"width", r.right - r.left},
            {"height", r.bottom - r.top}};
}

// The window's place relative to the top-level window's client area.
RECT clientRelative(HWND control, HWND top) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT clientOnScreen(HWND top) {
    RECT r{};
    GetClientRect(top, &r);
    MapWindowPoints(top, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The DPI the window is laid out at: its own where Windows tells it (10 1607 and later), else
// the system's.
int dpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "GetDpiForWindow")));
    if (getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Physical pixels for every window, whatever the system DPI: an unaware inspector would be given
// rectangles scaled to 96 DPI.
void becomeDpiAware() {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    const auto setContext = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32"), "SetProcessDpiAwarenessContext")));
    if (!setContext || !setContext(reinterpret_cast<HANDLE>(-4))) // per monitor, version 2
        SetProcessDPIAware();
}

std::string bstrText(BSTR text) {
    std::string utf8 = text ? toUtf8(std::wstring_view(text, SysStringLen(text))) : std::string();
    SysFreeString(text);
    return utf8;
}

// What a screen reader reads of one accessible object (or of its child number `child`): name,
// role and value; absent parts stay null.
json accessibleJson(IAccessible* object, long child) {
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = child;
    json entry = {{"name", nullptr}, {"role", nullptr}, {"value", nullptr}};
    BSTR text = nullptr;
    if (object->get_accName(id, &text) == S_OK)
        entry["name"] = bstrText(text);
    text = nullptr;
    if (object->get_accValue(id, &text) == S_OK)
        entry["value"] = bstrText(text);
    VARIANT role;
    VariantInit(&role);
    if (object->get_accRole(id, &role) == S_OK && role.vt == VT_I4) {
        wchar_t roleText[128] = {};
        GetRoleTextW(role.lVal, roleText, 128);
        entry["role"] = toUtf8(roleText);
    }
    VariantClear(&role);
    return entry;
}

// The control's client object as MSAA reads it, with its simple children (a list's rows); null
// when oleacc gives none.
json msaaJson(HWND control) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible, reinterpret_cast<void**>(&object))) ||
        !object)
        return nullptr;
    json entry = accessibleJson(object, CHILDID_SELF);
    long count = 0;
    if (object->get_accChildCount(&count) == S_OK && count > 0 && count <= 1000) {
        json& children = entry["children"] = json::array();
        for (long child = 1; child <= count; ++child)
            children.push_back(accessibleJson(object, child)["name"]);
    }
    object->Release();
    return entry;
}

// The window's children in the order the accessibility layer hands them out, by designer name
// (empty for a child that is no control of the layout); null when oleacc gives none.
json msaaChildrenJson(const layout::WindowLayout* table, HWND top) {
    IAccessible* client = nullptr;
    if (FAILED(AccessibleObjectFromWindow(top, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&client))) ||
        !client)
        return nullptr;
    long count = 0;
    json names = nullptr;
    if (client->get_accChildCount(&count) == S_OK && count > 0 && count <= 1000) {
        std::vector<VARIANT> children(static_cast<std::size_t>(count));
        long obtained = 0;
        if (SUCCEEDED(AccessibleChildren(client, 0, count, children.data(), &obtained))) {
            names = json::array();
            for (long i = 0; i < obtained; ++i) {
                VARIANT& child = children[static_cast<std::size_t>(i)];
                HWND window = nullptr;
                if (child.vt == VT_DISPATCH && child.pdispVal) {
                    IAccessible* object = nullptr;
                    if (SUCCEEDED(child.pdispVal->QueryInterface(
                            IID_IAccessible, reinterpret_cast<void**>(&object))) &&
                        object) {
                        WindowFromAccessibleObject(object, &window);
                        object->Release();
                    }
                }
                names.push_back(window ? designerName(table, window) : std::string());
                VariantClear(&child);
            }
        }
    }
    client->Release();
    return names;
}

// A list box's rows, selection and row height, as its own process answers.
void addListFacts(HWND list, json& entry) {
    DWORD_PTR count = 0, selection = 0, itemHeight = 0;
    SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selection);
    SendMessageTimeoutW(list, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 2000, &itemHeight);
    json rows = json::array();
    for (DWORD_PTR row = 0; row < count && row < 1000; ++row) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, row, 0, SMTO_ABORTIFHUNG, 2000, &length);
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()),
                            SMTO_ABORTIFHUNG, 2000, &copied);
        text.resize(copied == static_cast<DWORD_PTR>(LB_ERR) ? 0 : copied);
        rows.push_back(toUtf8(text));
    }
    entry["rows"] = rows;
    entry["selection"] = static_cast<int>(static_cast<LRESULT>(selection));
    entry["itemHeight"] = static_cast<int>(itemHeight);
}

// The control's window region (what it may draw on), as rectangles relative to the top-level
// window's client area; null when it has none (the whole control).
json regionJson(HWND control, HWND top) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(control, region);
    json rects = nullptr;
    if (kind == SIMPLEREGION || kind == COMPLEXREGION || kind == NULLREGION) {
        rects = json::array();
        const DWORD size = GetRegionData(region, 0, nullptr);
        std::vector<char> data(size);
        auto* header = reinterpret_cast<RGNDATA*>(data.data());
        if (size > 0 && GetRegionData(region, size, header) == size) {
            RECT window{};
            GetWindowRect(control, &window);
            const RECT origin = clientRelative(control, top);
            const auto* rect = reinterpret_cast<const RECT*>(header->Buffer);
            for (DWORD i = 0; i < header->rdh.nCount; ++i) {
                RECT r = rect[i];
                OffsetRect(&r, origin.left, origin.top);
                rects.push_back(rectJson(r));
            }
        }
    }
    DeleteObject(region);
    return rects;
}

// The window's direct children, top of the z-order first.
std::vector<HWND> childrenOf(HWND top) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(top, GW_CHILD); child && children.size() < 1000;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The control holding the focus of the window's thread, or its nearest ancestor among the
// window's direct children (the browser's inner windows count as the browser).
HWND focusedChild(HWND top, HWND focus) {
    while (focus && GetParent(focus) != top && focus != top)
        focus = GetParent(focus);
    return focus == top ? nullptr : focus;
}

const char* kindName(layout::ControlKind kind) {
    switch (kind) {
    case layout::ControlKind::Frame:
        return "Frame";
    case layout::ControlKind::Label:
        return "Label";
    case layout::ControlKind::TextBox:
        return "TextBox";
    case layout::ControlKind::CommandButton:
        return "CommandButton";
    case layout::ControlKind::ListBox:
        return "ListBox";
    case layout::ControlKind::Picture:
        return "Picture";
    case layout::ControlKind::Browser:
        return "Browser";
    }
    return "";
}

// What the layout table says of the control, so that the judge needs no copy of it.
json layoutJson(const layout::Control& control) {
    return {{"kind", kindName(control.kind)},
            {"caption", std::string(control.caption)},
            {"captionLabel", std::string(control.captionLabel)},
            {"visible", control.visible},
            {"parent", std::string(control.parent)},
            {"tabIndex", control.tabIndex ? json(*control.tabIndex) : json(nullptr)}};
}

// The Windows version the system reports ("6.1.7601" for Windows 7 SP1), read where no manifest
// or compatibility shim bends it.
std::string windowsVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!rtlGetVersion || rtlGetVersion(&info) != 0)
        return {};
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
}

// The work area (the screen without its taskbar) of the monitor that holds the window.
RECT workAreaOf(HWND top) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(top, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

json windowJson(HWND top) {
    const std::string windowClass = classOf(top);
    const layout::WindowLayout* table = layoutOf(windowClass);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &thread);
    const HWND focus = focusedChild(top, thread.hwndFocus);
    RECT frame{};
    GetWindowRect(top, &frame);
    const HWND owner = GetWindow(top, GW_OWNER);

    json window = {
        {"class", windowClass},
        {"caption", captionOf(top)},
        {"captionFit", captionFitJson(top)},
        {"style", static_cast<unsigned long>(GetWindowLongPtrW(top, GWL_STYLE))},
        {"exstyle", static_cast<unsigned long>(GetWindowLongPtrW(top, GWL_EXSTYLE))},
        {"visible", IsWindowVisible(top) != FALSE},
        {"active", thread.hwndActive == top},
        {"foreground", GetForegroundWindow() == top},
        {"dpi", dpiOf(top)},
        {"windowsVersion", windowsVersion()},
        {"screenSize", {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}},
        {"workArea", rectJson(workAreaOf(top))},
        {"client", rectJson(clientOnScreen(top))},
        {"frame", rectJson(frame)},
        {"owner", owner ? json{{"class", classOf(owner)}, {"visible", IsWindowVisible(owner) != 0}}
                        : json(nullptr)},
        {"focus", focus ? json(designerName(table, focus)) : json(nullptr)},
    };
    window["msaaChildren"] = msaaChildrenJson(table, top);
    // The window's own facts need no message; its controls' texts do, and wait for its thread.
    window["readWhole"] = IsWindow(top) != FALSE;
    json& controls = window["controls"] = json::array();
    int z = 0;
    for (HWND child : childrenOf(top)) {
        RECT screen{};
        GetWindowRect(child, &screen);
        json entry = {
            {"name", designerName(table, child)},
            {"id", GetDlgCtrlID(child)},
            {"class", classOf(child)},
            {"text", textOf(child)},
            {"style", static_cast<unsigned long>(GetWindowLongPtrW(child, GWL_STYLE))},
            {"exstyle", static_cast<unsigned long>(GetWindowLongPtrW(child, GWL_EXSTYLE))},
            {"visible", IsWindowVisible(child) != FALSE},
            {"focus", child == focus},
            {"z", z++},
            {"rect", rectJson(clientRelative(child, top))},
            {"screen", rectJson(screen)},
            {"msaa", msaaJson(child)},
            {"region", regionJson(child, top)},
        };
        if (const layout::Control* control =
                table ? table->find(entry["name"].get<std::string>()) : nullptr)
            entry["layout"] = layoutJson(*control);
        if (_wcsicmp(toWide(entry["class"].get<std::string>()).c_str(), L"ListBox") == 0)
            addListFacts(child, entry);
        // A picture static (a message box's icon) may stand there empty.
        if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            DWORD_PTR icon = 0;
            SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
            entry["hasIcon"] = icon != 0;
        }
        controls.push_back(entry);
    }
    return window;
}

// The control's place in twips relative to the window's client area: the parents' offsets added
// up, as the program places every control directly on the window.
layout::Twips absoluteTwips(const layout::WindowLayout& table, const layout::Control& control) {
    layout::Twips place = control.place;
    for (const layout::Control* parent = table.find(control.parent); parent;
         parent = table.find(parent->parent)) {
        place.left += parent->place.left;
        place.top += parent->place.top;
    }
    return place;
}

HWND controlById(HWND top, int id) {
    for (HWND child : childrenOf(top))
        if (GetDlgCtrlID(child) == id)
            return child;
    return nullptr;
}

std::string pixelText(const layout::PixelRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
           "x" + std::to_string(r.height);
}

// Compares the client area and every control with the layout at the window's DPI; prints one
// line a control and returns the number of differences.
int compareLayout(HWND top) {
    const layout::WindowLayout* table = layoutOf(classOf(top));
    if (!table) {
        std::cout << "no layout for " << classOf(top) << "\n";
        return 1;
    }
    const int dpi = dpiOf(top);
    int differences = 0;
    // A fixed text's label or button may be wider than designed, to hold its text: it still
    // covers its designed box, on the same line.
    const auto report = [&](const std::string& name, const layout::PixelRect& expected,
                            const std::optional<layout::PixelRect>& actual, bool mayGrow = false) {
        const bool grown = mayGrow && actual && actual->top == expected.top &&
                           actual->height == expected.height && actual->left <= expected.left &&
                           actual->left + actual->width >= expected.left + expected.width;
        const bool same = (actual && *actual == expected) || grown;
        differences += same ? 0 : 1;
        std::cout << (same ? "ok   " : "DIFF ") << name << " expected " << pixelText(expected)
                  << " got " << (actual ? pixelText(*actual) : std::string("nothing")) << "\n";
    };
    RECT client{};
    GetClientRect(top, &client);
    const layout::PixelRect size =
        layout::toPixels(layout::Twips{0, 0, table->client.width, table->client.height}, dpi);
    // A window too tall for its work area is shorter by as much as its browser and the frames
    // that hold it, and only they.
    const int cut = std::max(0, size.height - static_cast<int>(client.bottom));
    std::cout << table->name << " at " << dpi << " DPI, " << cut << " px shorter\n";
    report("client area", {0, 0, size.width, size.height - cut},
           layout::PixelRect{0, 0, client.right, client.bottom});
    const auto holdsBrowser = [&](const layout::Control& control) {
        for (const layout::Control& other : table->controls) {
            if (other.kind != layout::ControlKind::Browser)
                continue;
            for (const layout::Control* c = &other; c; c = table->find(c->parent))
                if (c == &control)
                    return true;
        }
        return false;
    };
    for (std::size_t index = 0; index < table->controls.size(); ++index) {
        const layout::Control& control = table->controls[index];
        const HWND child = controlById(top, 100 + static_cast<int>(index));
        const bool shown = child && IsWindowVisible(child);
        if (!control.visible) {
            differences += shown ? 1 : 0;
            std::cout << (shown ? "DIFF " : "ok   ") << control.name
                      << (shown ? " is shown, the layout hides it\n" : " hidden\n");
            continue;
        }
        std::optional<layout::PixelRect> actual;
        if (shown) {
            const RECT r = clientRelative(child, top);
            actual = layout::PixelRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
        }
        layout::PixelRect expected = layout::toPixels(absoluteTwips(*table, control), dpi);
        if (holdsBrowser(control))
            expected.height -= cut;
        report(std::string(control.name), expected, actual, layout::growsToHoldText(control));
    }
    std::cout << differences << " differences\n";
    return differences;
}

// Every module of the window's process by its full path, one a line.
int listModules(HWND top) {
    DWORD processId = 0;
    GetWindowThreadProcessId(top, &processId);
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) {
        std::cerr << "window-inspector: cannot open process " << processId << "\n";
        return 1;
    }
    std::vector<HMODULE> modules(1024);
    DWORD needed = 0;
    const bool listed =
        EnumProcessModules(process, modules.data(),
                           static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed) != FALSE;
    modules.resize(listed ? std::min<std::size_t>(needed / sizeof(HMODULE), modules.size()) : 0);
    for (HMODULE module : modules) {
        wchar_t path[MAX_PATH * 2] = {};
        if (GetModuleFileNameExW(process, module, path, MAX_PATH * 2))
            std::cout << toUtf8(path) << "\n";
    }
    CloseHandle(process);
    return listed ? 0 : 1;
}

struct WindowSearch {
    std::wstring windowClass;
    HWND visible = nullptr;
    HWND hidden = nullptr;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (search.windowClass != name)
        return TRUE;
    if (IsWindowVisible(window)) {
        search.visible = window;
        return FALSE;
    }
    if (!search.hidden)
        search.hidden = window;
    return TRUE;
}

// The first top-level window of the class, a visible one before a hidden one.
HWND findWindow(const std::wstring& windowClass) {
    WindowSearch search{windowClass};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.visible ? search.visible : search.hidden;
}

int usage() {
    std::cerr << "usage: window-inspector [--wait SECONDS] CLASS [--control NAME | --layout]\n";
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    double waitSeconds = 0;
    if (args.size() >= 2 && args[0] == L"--wait") {
        waitSeconds = std::stod(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || (args.size() != 1 && args.size() != 2 && args.size() != 3))
        return usage();
    becomeDpiAware();
    CoInitialize(nullptr);

    // Bounded poll: a fresh prefix takes Wine half a minute to show the first window.
    HWND top = nullptr;
    // Every 10 ms: the splash stands for a scan's length only.
    for (double waited = 0;; waited += 0.01) {
        top = findWindow(args[0]);
        if ((top && IsWindowVisible(top)) || waited >= waitSeconds)
            break;
        Sleep(10);
    }
    if (!top || (waitSeconds > 0 && !IsWindowVisible(top))) {
        std::cerr << "window-inspector: no window of class " << toUtf8(args[0]) << "\n";
        return 1;
    }

    if (args.size() == 1) {
        json window = windowJson(top);
        // A window destroyed meanwhile (the splash ends with its scan) was read in part only.
        if (!window["readWhole"]) {
            std::cerr << "window-inspector: the window went while it was read\n";
            return 1;
        }
        window["controlsReadWhole"] = IsWindow(top) != FALSE;
        std::cout << window.dump(2) << "\n";
        return 0;
    }
    if (args[1] == L"--modules" && args.size() == 2)
        return listModules(top);
    if (args[1] == L"--layout" && args.size() == 2)
        return compareLayout(top) == 0 ? 0 : 3;
    if (args[1] == L"--control" && args.size() == 3) {
        const layout::WindowLayout* table = layoutOf(classOf(top));
        for (HWND child : childrenOf(top)) {
            if (designerName(table, child) != toUtf8(args[2]) || !IsWindowVisible(child))
                continue;
            RECT r{};
            GetWindowRect(child, &r);
            std::cout << (r.left + r.right) / 2 << " " << (r.top + r.bottom) / 2 << "\n";
            return 0;
        }
        std::cerr << "window-inspector: no visible control " << toUtf8(args[2]) << "\n";
        return 1;
    }
    return usage();
}
