#include "BrowserHost.h"

#include "CommonControls.h"
#include "HResultText.h"
#include "SystemLibrary.h"
#include "WideText.h"

#include <commctrl.h>
#include <oleauto.h>

#include <stdexcept>
#include <string>

namespace quorvin::windows {

namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

// A function of a loaded DLL as the type it has; void(*)() is the type every function pointer
// converts through without complaint.
template <typename Function> Function entryPoint(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// atl.dll's entry points, loaded once; getControl is null when the system has no ATL.
struct AtlHost {
    AtlAxGetFunction getControl = nullptr;
    AtlAxGetFunction getHost = nullptr;

    static const AtlHost& get() {
        static const AtlHost host = [] {
            AtlHost loaded;
            // By its full path: an atl.dll beside the program is never the one loaded.
            const HMODULE atl = loadSystemLibrary(L"atl.dll");
            if (atl == nullptr)
                return loaded;
            const auto init = entryPoint<AtlAxWinInitFunction>(atl, "AtlAxWinInit");
            const auto getControl = entryPoint<AtlAxGetFunction>(atl, "AtlAxGetControl");
            if (init != nullptr && getControl != nullptr && init()) {
                loaded.getControl = getControl;
                loaded.getHost = entryPoint<AtlAxGetFunction>(atl, "AtlAxGetHost");
            }
            return loaded;
        }();
        return host;
    }
};

// ATL's IAxWinAmbientDispatch, reached through its IDispatch side by name, so that no copy of
// its table of methods is needed here.
const IID ambientDispatchId = {
    0xB6EA2051, 0x048A, 0x11D1, {0x82, 0xB9, 0x00, 0xC0, 0x4F, 0xB9, 0x94, 0x2E}};
constexpr DWORD docHostDpiAware = 0x40000000;   // DOCHOSTUIFLAG_DPI_AWARE
constexpr DWORD docHostNo3DBorder = 0x00000004; // DOCHOSTUIFLAG_NO3DBORDER

void setAmbientDocHostFlags(HWND container) {
    const AtlHost& atl = AtlHost::get();
    if (atl.getHost == nullptr)
        return;
    ComPtr<IUnknown> host;
    if (FAILED(atl.getHost(container, host.put())) || !host)
        return;
    ComPtr<IDispatch> ambient;
    // Wine's host offers no ambient properties: the page then keeps its defaults.
    if (FAILED(host->QueryInterface(ambientDispatchId, reinterpret_cast<void**>(ambient.put()))) ||
        !ambient)
        return;
    wchar_t name[] = L"DocHostFlags";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(ambient->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return;
    VARIANT flags;
    VariantInit(&flags);
    flags.vt = VT_UI4;
    flags.ulVal = docHostDpiAware | docHostNo3DBorder;
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&flags, &putId, 1, 1};
    ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &parameters, nullptr,
                    nullptr, nullptr);
}

constexpr UINT_PTR containerSubclassId = 1;

} // namespace

std::unique_ptr<BrowserHost> BrowserHost::create(HWND parent, int controlId, const RECT& place) {
    const AtlHost& atl = AtlHost::get();
    if (atl.getControl == nullptr)
        return nullptr;
    std::unique_ptr<BrowserHost> host(new BrowserHost);
    // AtlAxWin makes the control its window title names.
    host->window_ =
        CreateWindowExW(0, L"AtlAxWin", L"Shell.Explorer.2",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                        GetModuleHandleW(nullptr), nullptr);
    if (host->window_ == nullptr)
        return nullptr;
    ComPtr<IUnknown> control;
    if (FAILED(atl.getControl(host->window_, control.put())) || !control ||
        FAILED(control->QueryInterface(IID_IWebBrowser2,
                                       reinterpret_cast<void**>(host->browser_.put()))) ||
        !host->browser_) {
        DestroyWindow(host->window_);
        return nullptr;
    }
    // No script-error dialogs over the results window, and no file dropped on it opened in
    // place of the store's page.
    host->browser_->put_Silent(VARIANT_TRUE);
    host->browser_->put_RegisterAsDropTarget(VARIANT_FALSE);
    setAmbientDocHostFlags(host->window_);
    host->browser_->QueryInterface(IID_IOleInPlaceActiveObject,
                                   reinterpret_cast<void**>(host->active_.put()));
    setWindowSubclass(host->window_, containerProc, containerSubclassId,
                      reinterpret_cast<DWORD_PTR>(host.get()));
    return host;
}

BrowserHost::~BrowserHost() {
    if (window_ != nullptr && IsWindow(window_)) {
        removeWindowSubclass(window_, containerProc, containerSubclassId);
        active_.reset();
        browser_.reset();
        DestroyWindow(window_);
    }
}

bool BrowserHost::contains(HWND window) const {
    return window != nullptr && (window == window_ || IsChild(window_, window));
}

void BrowserHost::navigate(std::wstring_view address) {
    // The address is the only argument: no flags, target frame, post data or headers.
    BSTR target = SysAllocStringLen(address.data(), static_cast<UINT>(address.size()));
    if (target == nullptr)
        throw std::runtime_error("Opening the store page failed: out of memory");
    VARIANT none;
    VariantInit(&none);
    const HRESULT hr = browser_->Navigate(target, &none, &none, &none, &none);
    SysFreeString(target);
    if (FAILED(hr))
        throw std::runtime_error(
            "Opening the store page failed: the web-browser control refused \"" + toUtf8(address) +
            "\", " + hresultText(hr));
}

PageKey BrowserHost::routeKey(MSG& message) {
    return routePageKey(active_.get(), message, currentModifiers());
}

void BrowserHost::activate() {
    if (activating_ || !browser_)
        return;
    activating_ = true;
    ComPtr<IOleObject> object;
    if (SUCCEEDED(
            browser_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object.put()))) &&
        object) {
        ComPtr<IOleClientSite> site;
        object->GetClientSite(site.put());
        RECT area{};
        GetClientRect(window_, &area);
        object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site.get(), 0, window_, &area);
    }
    // The page's own window takes the keys, so that its links and scrolling answer them.
    HWND inner = nullptr;
    if (active_ && SUCCEEDED(active_->GetWindow(&inner)) && inner != nullptr && inner != window_ &&
        IsChild(window_, inner) && GetFocus() != inner)
        SetFocus(inner);
    activating_ = false;
}

bool BrowserHost::silent() const {
    VARIANT_BOOL value = VARIANT_FALSE;
    return browser_ && SUCCEEDED(browser_->get_Silent(&value)) && value == VARIANT_TRUE;
}

LRESULT CALLBACK BrowserHost::containerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) {
    const LRESULT result = defSubclassProc(window, message, wParam, lParam);
    if (message == WM_SETFOCUS)
        reinterpret_cast<BrowserHost*>(data)->activate();
    return result;
}

} // namespace quorvin::windows
