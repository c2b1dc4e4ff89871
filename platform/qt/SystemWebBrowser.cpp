#include "SystemWebBrowser.h"

#include "platform/windows/ComPtr.h"
#include "platform/windows/HResultText.h"
#include "platform/windows/WideText.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QUrl>

#include <windows.h>

#include <exdisp.h>
#include <oleauto.h>
#include <oleidl.h>

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

// The native window the control's window sits in. Its WM_SIZE gives its size in device pixels
// whenever Windows sizes it, a move to a screen of another scale included, and the control's
// window follows.
class ControlHost : public QWidget {
public:
    explicit ControlHost(QWidget* parent)
        : QWidget(parent) {
        setAttribute(Qt::WA_NativeWindow);
        setFocusPolicy(Qt::StrongFocus);
    }

    HWND hwnd() { return reinterpret_cast<HWND>(winId()); }
    void setControlWindow(HWND window) {
        control_ = window;
        RECT area{};
        GetClientRect(hwnd(), &area);
        MoveWindow(control_, 0, 0, area.right, area.bottom, TRUE);
    }

protected:
    bool nativeEvent(const QByteArray& type, void* message, qintptr* result) override {
        const MSG* msg = static_cast<const MSG*>(message);
        if (control_ != nullptr && msg->hwnd == hwnd() && msg->message == WM_SIZE)
            MoveWindow(control_, 0, 0, LOWORD(msg->lParam), HIWORD(msg->lParam), TRUE);
        return QWidget::nativeEvent(type, message, result);
    }

private:
    HWND control_ = nullptr;
};

// Qt's message loop hands keys straight to the window that has the focus; a hosted control
// sees Tab, the arrows, Delete and its shortcuts (Ctrl+C in the page) only when the host offers
// each key message to it first, as every host of the control does.
class ControlKeys : public QAbstractNativeEventFilter {
public:
    ControlKeys(HWND window, IWebBrowser2& browser)
        : window_(window) {
        browser.QueryInterface(IID_IOleInPlaceActiveObject,
                               reinterpret_cast<void**>(active_.put()));
        if (active_)
            QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~ControlKeys() override {
        if (active_ && QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    ControlKeys(const ControlKeys&) = delete;
    ControlKeys& operator=(const ControlKeys&) = delete;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "windows_generic_MSG")
            return false;
        MSG* msg = static_cast<MSG*>(message);
        if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
            return false;
        if (msg->hwnd != window_ && !IsChild(window_, msg->hwnd))
            return false;
        return active_->TranslateAccelerator(msg) == S_OK;
    }

private:
    HWND window_;
    windows::ComPtr<IOleInPlaceActiveObject> active_;
};

} // namespace

// The AtlAxWin child window and the browser inside it.
struct SystemWebBrowser::Control {
    HWND window = nullptr;
    windows::ComPtr<IWebBrowser2> browser;
    std::unique_ptr<ControlKeys> keys;

    ~Control() {
        keys.reset();
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
        control->keys = std::make_unique<ControlKeys>(control->window, *control->browser.get());
        return control;
    }
};

SystemWebBrowser::SystemWebBrowser(QWidget* parent)
    : LinkFallbackBrowser(parent) {
    // The control lives in a window of its own inside the host's, so the host must have one.
    auto* host = new ControlHost(this);
    host_ = host;
    // Only Windows' own window system gives the host a window handle. Under another platform
    // plugin (the tests' offscreen one) the id is Qt's own small number, which Windows takes for
    // the window with that index, another program's perhaps: a child made there ties the two
    // programs' message loops together.
    if (QGuiApplication::platformName() == QLatin1String("windows"))
        control_ = Control::create(host->hwnd());
    if (control_) {
        host->setControlWindow(control_->window);
        showEngine(host_);
    } else {
        host_->hide();
    }
}

SystemWebBrowser::~SystemWebBrowser() = default;

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
