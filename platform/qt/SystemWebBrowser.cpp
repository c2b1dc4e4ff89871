#include "SystemWebBrowser.h"

#include "platform/windows/ComPtr.h"
#include "platform/windows/HResultText.h"
#include "platform/windows/WideText.h"

#include <QResizeEvent>
#include <QUrl>

#include <windows.h>

#include <exdisp.h>
#include <oleauto.h>

#include <stdexcept>

namespace quorvin::qt {

namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

// A function of a loaded DLL as the type it has; void(*)() is the type every function pointer
// converts through without complaint.
template <typename Function> Function entryPoint(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// atl.dll's two entry points, loaded once; null when the system has no ATL.
struct AtlHost {
    AtlAxGetControlFunction getControl = nullptr;

    static const AtlHost& get() {
        static const AtlHost host = [] {
            AtlHost loaded;
            const HMODULE atl = LoadLibraryW(L"atl.dll");
            if (atl == nullptr)
                return loaded;
            const auto init = entryPoint<AtlAxWinInitFunction>(atl, "AtlAxWinInit");
            const auto getControl = entryPoint<AtlAxGetControlFunction>(atl, "AtlAxGetControl");
            if (init != nullptr && getControl != nullptr && init())
                loaded.getControl = getControl;
            return loaded;
        }();
        return host;
    }
};

} // namespace

// The AtlAxWin child window and the browser inside it.
struct SystemWebBrowser::Control {
    HWND window = nullptr;
    windows::ComPtr<IWebBrowser2> browser;

    ~Control() {
        browser.reset();
        if (window != nullptr)
            DestroyWindow(window);
    }

    // Null when atl.dll or the browser control is missing, or the control is not a browser.
    static std::unique_ptr<Control> create(HWND parent) {
        const AtlHost& atl = AtlHost::get();
        if (atl.getControl == nullptr)
            return nullptr;
        auto control = std::make_unique<Control>();
        // AtlAxWin makes the control named by the window's title.
        control->window =
            CreateWindowExW(0, L"AtlAxWin", L"Shell.Explorer.2",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                            parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (control->window == nullptr)
            return nullptr;
        windows::ComPtr<IUnknown> unknown;
        if (FAILED(atl.getControl(control->window, unknown.put())) || !unknown)
            return nullptr;
        if (FAILED(unknown->QueryInterface(IID_IWebBrowser2,
                                           reinterpret_cast<void**>(control->browser.put()))) ||
            !control->browser)
            return nullptr;
        return control;
    }
};

SystemWebBrowser::SystemWebBrowser(QWidget* parent)
    : LinkFallbackBrowser(parent)
    , host_(new QWidget(this)) {
    // The control lives in a window of its own inside the host's, so the host must have one.
    host_->setAttribute(Qt::WA_NativeWindow);
    host_->setFocusPolicy(Qt::StrongFocus);
    control_ = Control::create(reinterpret_cast<HWND>(host_->winId()));
    if (control_)
        showEngine(host_);
    else
        host_->hide();
}

SystemWebBrowser::~SystemWebBrowser() = default;

void SystemWebBrowser::resizeEvent(QResizeEvent* event) {
    LinkFallbackBrowser::resizeEvent(event);
    if (!control_)
        return;
    // The child window is sized in device pixels, the widget in device-independent ones.
    const qreal ratio = host_->devicePixelRatioF();
    MoveWindow(control_->window, 0, 0, qRound(event->size().width() * ratio),
               qRound(event->size().height() * ratio), TRUE);
}

void SystemWebBrowser::navigate(const std::string& address) {
    acceptAddress(address);
    if (!control_)
        return;
    // The address is the only argument: no flags, target frame, post data or headers.
    const windows::Bstr target(address);
    VARIANT none;
    VariantInit(&none);
    const HRESULT hr = control_->browser->Navigate(target.get(), &none, &none, &none, &none);
    if (FAILED(hr))
        throw std::runtime_error(
            "Opening the store page failed: the web-browser control refused \"" + address + "\", " +
            windows::hresultText(hr));
}

} // namespace quorvin::qt
