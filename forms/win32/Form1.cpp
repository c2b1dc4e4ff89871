#include "Form1.h"

#include "ResourceIds.h"
#include "forms/WindowLayout.h"
#include "platform/windows/Com.h"
#include "platform/windows/System.h"
#include "results/StoreAddress.h"

#include <commctrl.h>

#include <array>
#include <stdexcept>

namespace quorvin::win32forms {

namespace {

constexpr std::array<ModuleList, 3> moduleLists{ModuleList::Slots, ModuleList::Memory,
                                                ModuleList::Speed};

constexpr UINT_PTR listSubclassId = 1;
// From 200 % on, the chat picture drawn at twice the size.
constexpr int doubleSizeDpi = 192;

bool isChatControl(const layout::Control& control) {
    return control.role == layout::Role::ChatPicture || control.role == layout::Role::ChatLink;
}

} // namespace

Form1::Form1(ScanEnvironment environment, std::wstring chatBrowser, ErrorSink errors)
    : LayoutWindow(layout::form1Layout(), std::move(errors))
    , chatBrowser_(std::move(chatBrowser))
    , results_(std::move(environment), *this) {
    results_.clipboardRetry.wait = windows::waitAnsweringSentMessages;
}

Form1::~Form1() {
    if (hwnd() != nullptr) {
        onUnloaded = nullptr;
        unload();
    }
    if (chatPicture_ != nullptr)
        DestroyIcon(chatPicture_);
}

void Form1::show() {
    results_.ensureLoaded();
    LayoutWindow::show();
}

DWORD Form1::extraStyle(const layout::Control& control) const {
    // The chat picture and link report clicks and take the pointer.
    return isChatControl(control) ? SS_NOTIFY : 0;
}

HWND Form1::makeBrowser(const layout::Control&, int id, const RECT& place) {
    browser_ = windows::BrowserHost::create(
        hwnd(), id, place,
        [this](const std::wstring& address, bool userAsked) { openOutside(address, userAsked); });
    return browser_ ? browser_->window() : nullptr;
}

windows::BrowserHost* Form1::browser() const {
    // Gone with its window.
    return browser_ && browser_->window() != nullptr ? browser_.get() : nullptr;
}

void Form1::afterLoad() {
    chatCursor_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(QUORVIN_CURSOR_CHAT));
    for (ModuleList each : moduleLists)
        windows::setWindowSubclass(list(each), listProc, listSubclassId,
                                   reinterpret_cast<DWORD_PTR>(this));
}

void Form1::afterLayout(int dpi) {
    const layout::Control& image = layout().only(layout::Role::ChatPicture);
    const RECT place = controlRect(image, dpi);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    HICON picture = nullptr;
    if (dpi >= doubleSizeDpi)
        picture = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(QUORVIN_ICON_CHAT_2X),
                                                IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (picture == nullptr)
        picture = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(QUORVIN_ICON_CHAT),
                                                IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (picture == nullptr)
        windows::throwLastError("Loading the chat picture");
    SendMessageW(control(image.name), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
    // The picture keeps its twips size whatever size the icon call made the control.
    MoveWindow(control(image.name), place.left, place.top, width, height, TRUE);
    if (chatPicture_ != nullptr)
        DestroyIcon(chatPicture_);
    chatPicture_ = picture;
}

HWND Form1::list(ModuleList which) const {
    return control(listName(which));
}

void Form1::clearListControl(ModuleList which) {
    SendMessageW(list(which), LB_RESETCONTENT, 0, 0);
}

void Form1::addListControlRow(ModuleList which, const std::string& row) {
    const std::wstring text = windows::toWide(row);
    const LRESULT added =
        SendMessageW(list(which), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (added == LB_ERR || added == LB_ERRSPACE)
        throw std::runtime_error(std::string("Adding a row to ") + listName(which) + " failed");
}

void Form1::setLabelCaption(ValueLabel label, const std::string& text) {
    if (!SetWindowTextW(control(labelName(label)), windows::toWide(text).c_str()))
        windows::throwLastError("Setting the caption of " + labelName(label));
}

std::string Form1::labelCaption(ValueLabel label) const {
    const HWND window = control(labelName(label));
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return windows::toUtf8(text);
}

void Form1::navigateBrowser(const std::string& url) {
    // Without a browser control on the system the frame stays empty.
    if (browser_)
        browser_->navigate(windows::toWide(url));
}

int Form1::selectedRow(ModuleList which) const {
    return static_cast<int>(SendMessageW(list(which), LB_GETCURSEL, 0, 0));
}

void Form1::selectRow(ModuleList which, int index) {
    // -1 clears the selection, and LB_SETCURSEL answers it with LB_ERR too.
    if (SendMessageW(list(which), LB_SETCURSEL, static_cast<WPARAM>(index), 0) == LB_ERR &&
        index != -1)
        throw std::runtime_error(std::string("Selecting row ") + std::to_string(index) + " of " +
                                 listName(which) + " failed");
}

void Form1::onCommand(const layout::Control& control, HWND window, int code) {
    if (control.role == layout::Role::ModuleList && code == LBN_SELCHANGE) {
        const layout::ListSelection lists{
            [this](ModuleList which) { return selectedRow(which); },
            [this](ModuleList which, int index) { selectRow(which, index); }};
        for (ModuleList each : moduleLists)
            if (list(each) == window)
                layout::spreadSelection(lists, each);
        followTopRow(window);
    } else if (control.role == layout::Role::CopyButton && code == BN_CLICKED) {
        results_.copyReport();
    } else if (isChatControl(control) && code == STN_CLICKED) {
        startChat();
    }
}

bool Form1::putOnClipboard(const std::string& text) {
    return windows::putClipboardText(hwnd(), windows::toWide(text));
}

void Form1::startChat() {
    try {
        const ScanEnvironment& environment = results_.environment();
        windows::startProgram(chatBrowser_, windows::toWide(chatAddress(environment.storeScheme,
                                                                        environment.storeHost)));
    } catch (...) {
        windows::showPlainMessage(hwnd(), L"Browser Not found!!!",
                                  windows::toWide(layout::programTitle));
    }
}

void Form1::openOutside(const std::wstring& address, bool userAsked) {
    if (pageRequest(windows::toUtf8(address), userAsked) != PageRequest::SystemHandler)
        return;
    // A link of the store page the user's own browser or mail program could not take: said in
    // plain words, and the program goes on.
    try {
        windows::openWithSystemHandler(address);
    } catch (const std::exception& error) {
        windows::showPlainMessage(hwnd(), windows::toWide(error.what()),
                                  windows::toWide(layout::programTitle));
    }
}

void Form1::followTopRow(HWND source) {
    // The lists scroll as one table: row n stays beside row n.
    if (followingTopRow_)
        return;
    followingTopRow_ = true;
    const LRESULT top = SendMessageW(source, LB_GETTOPINDEX, 0, 0);
    for (ModuleList each : moduleLists) {
        const HWND other = list(each);
        if (other != source && SendMessageW(other, LB_GETTOPINDEX, 0, 0) != top)
            SendMessageW(other, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
    followingTopRow_ = false;
}

bool Form1::preTranslateMessage(MSG& message) {
    // The page has the keys first: Tab walks its links and fields, and leaves it for the
    // window's neighbouring stops only past its last (or before its first) one.
    if (browser_ && browser_->preTranslateMessage(message))
        return true;
    return LayoutWindow::preTranslateMessage(message);
}

LRESULT Form1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) {
        const layout::Control* under = controlOf(reinterpret_cast<HWND>(wParam));
        if (under != nullptr && isChatControl(*under) && chatCursor_ != nullptr &&
            LOWORD(lParam) == HTCLIENT) {
            SetCursor(chatCursor_);
            return TRUE;
        }
    }
    return LayoutWindow::handleMessage(message, wParam, lParam);
}

LRESULT CALLBACK Form1::listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
    auto* self = reinterpret_cast<Form1*>(data);
    LRESULT result = 0;
    self->runHandler([&] {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // A click below the rows keeps the selection as it is.
            const LRESULT hit = SendMessageW(window, LB_ITEMFROMPOINT, 0, lParam);
            if (HIWORD(hit) != 0) {
                SetFocus(window);
                return;
            }
            break;
        }
        case WM_KEYDOWN:
            // With nothing selected, the first Down selects the first row.
            if (wParam == VK_DOWN && SendMessageW(window, LB_GETCURSEL, 0, 0) == LB_ERR &&
                SendMessageW(window, LB_GETCOUNT, 0, 0) > 0) {
                SendMessageW(window, LB_SETCURSEL, 0, 0);
                SendMessageW(GetParent(window), WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(window), LBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(window));
                return;
            }
            break;
        case WM_NCDESTROY:
            windows::removeWindowSubclass(window, listProc, listSubclassId);
            break;
        default:
            break;
        }
        result = windows::defSubclassProc(window, message, wParam, lParam);
        if (message == WM_VSCROLL || message == WM_MOUSEWHEEL || message == WM_KEYDOWN)
            self->followTopRow(window);
    });
    return result;
}

} // namespace quorvin::win32forms
