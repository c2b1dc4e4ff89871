#include "BrowserHost.h"

#include "System.h"

#include <commctrl.h>
#include <exdispid.h>
#include <ocidl.h>
#include <oleauto.h>
#include <shobjidl.h>
#include <urlmon.h>
#include <windowsx.h>

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvin::windows {

namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

// atl.dll's entry points; getControl is null when there is no usable ATL.
struct AtlHost {
    AtlAxGetFunction getControl = nullptr;
    AtlAxGetFunction getHost = nullptr;

    // Loaded once per module: AtlAxWinInit registers its window class, which a second call may
    // find taken and fail.
    static const AtlHost& of(HMODULE atl) {
        static std::deque<std::pair<HMODULE, AtlHost>> loaded; // references stay
        for (const auto& [module, host] : loaded)
            if (module == atl)
                return host;
        AtlHost host;
        const auto init = libraryFunction<AtlAxWinInitFunction>(atl, "AtlAxWinInit");
        const auto getControl = libraryFunction<AtlAxGetFunction>(atl, "AtlAxGetControl");
        if (init != nullptr && getControl != nullptr && init()) {
            host.getControl = getControl;
            host.getHost = libraryFunction<AtlAxGetFunction>(atl, "AtlAxGetHost");
        }
        return loaded.emplace_back(atl, host).second;
    }

    static const AtlHost& system() {
        // By its full path: an atl.dll beside the program is never the one loaded.
        static const HMODULE atl = loadSystemLibrary(L"atl.dll");
        static const AtlHost none;
        return atl != nullptr ? of(atl) : none;
    }
};

[[noreturn]] void refused(const std::string& what, HRESULT hr) {
    throw std::runtime_error("Preparing the store page failed: " + what + ", " + hresultText(hr));
}

// DWebBrowserEvents2's arguments arrive last first; position counts from the first.
VARIANT* argument(const DISPPARAMS* parameters, UINT position) {
    if (parameters == nullptr || position >= parameters->cArgs)
        return nullptr;
    return &parameters->rgvarg[parameters->cArgs - 1 - position];
}

void cancel(VARIANT* flag) {
    if (flag != nullptr && flag->vt == (VT_BYREF | VT_BOOL) && flag->pboolVal != nullptr)
        *flag->pboolVal = VARIANT_TRUE;
}

bool isTrue(const VARIANT* value) {
    if (value == nullptr)
        return false;
    if (value->vt == VT_BOOL)
        return value->boolVal != VARIANT_FALSE;
    return value->vt == (VT_BYREF | VT_BOOL) && value->pboolVal != nullptr &&
           *value->pboolVal != VARIANT_FALSE;
}

// A click or key of the user's asked for the window, or the user let a blocked pop-up through.
constexpr DWORD userAskedFlags =
    DWORD{NWMF_USERINITED} | DWORD{NWMF_USERREQUESTED} | DWORD{NWMF_USERALLOWED};

class PageEvents final : public IDispatch {
public:
    explicit PageEvents(OpenOutside openOutside)
        : openOutside_(std::move(openOutside)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        if (id != IID_IUnknown && id != IID_IDispatch && id != DIID_DWebBrowserEvents2) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count != nullptr)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                     VARIANT*, EXCEPINFO*, UINT*) override {
        switch (event) {
        case DISPID_NEWWINDOW3: {
            // (ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl)
            cancel(argument(parameters, 1));
            const VARIANT* flags = argument(parameters, 2);
            const VARIANT* url = argument(parameters, 4);
            const bool userAsked = flags != nullptr &&
                                   (flags->vt == VT_I4 || flags->vt == VT_UI4) &&
                                   (flags->ulVal & userAskedFlags) != 0;
            if (url != nullptr && url->vt == VT_BSTR && url->bstrVal != nullptr)
                leave(std::wstring(url->bstrVal, SysStringLen(url->bstrVal)), userAsked);
            break;
        }
        case DISPID_NEWWINDOW2:
            // The older event, without the address, left as it is: where the control raises
            // both, cancelling it would keep NEWWINDOW3, which cancels the window and carries
            // the address, from coming at all.
            break;
        case DISPID_WINDOWCLOSING:
            // (IsChildWindow, Cancel)
            cancel(argument(parameters, 1));
            break;
        case DISPID_FILEDOWNLOAD:
            // (ActiveDocument, Cancel): a page the control shows itself arrives this way too.
            if (!isTrue(argument(parameters, 0)))
                cancel(argument(parameters, 1));
            break;
        default:
            break;
        }
        return S_OK;
    }

private:
    void leave(const std::wstring& address, bool userAsked) {
        // No error may cross back into the control; openOutside reports its own.
        try {
            openOutside_(address, userAsked);
        } catch (...) {
        }
    }

    OpenOutside openOutside_;
    ULONG references_ = 1;
};

// Per process, no registry: the control's pop-up manager blocks script pop-ups no click asked
// for, and navigating makes no click sound. False where urlmon lacks the call.
bool setProcessFeatures() {
    using SetFeatureFunction = HRESULT(WINAPI*)(INTERNETFEATURELIST, DWORD, BOOL);
    const HMODULE urlmon = loadSystemLibrary(L"urlmon.dll");
    const auto setFeature =
        libraryFunction<SetFeatureFunction>(urlmon, "CoInternetSetFeatureEnabled");
    if (setFeature == nullptr)
        return false;
    for (const auto& [feature, name] :
         {std::pair{FEATURE_WEBOC_POPUPMANAGEMENT, "the pop-up manager"},
          std::pair{FEATURE_DISABLE_NAVIGATION_SOUNDS, "quiet navigation"}}) {
        const HRESULT hr = setFeature(feature, SET_FEATURE_ON_PROCESS, TRUE);
        if (FAILED(hr))
            refused(std::string("the web-browser control's ") + name + " could not be turned on",
                    hr);
    }
    return true;
}

// Through ATL's IAxWinAmbientDispatch: the page draws DPI aware without a 3-D border, and the
// control shows no context menu of its own (Save target as, Print, View source, Properties...).
// What the host kept is read back; a host without ambient properties (Wine's) leaves both empty.
void setAmbientProperties(const AtlHost& atl, HWND container, HostSettings& settings) {
    if (atl.getHost == nullptr)
        return;
    ComPtr<IUnknown> host;
    if (FAILED(atl.getHost(container, host.put())) || !host)
        return;
    ComPtr<IAxWinAmbientDispatch> ambient;
    if (FAILED(host->QueryInterface(__uuidof(IAxWinAmbientDispatch),
                                    reinterpret_cast<void**>(ambient.put()))) ||
        !ambient)
        return;
    HRESULT hr = ambient->put_DocHostFlags(storePageDocHostFlags);
    if (FAILED(hr))
        refused("ATL's host did not take the page's DocHostFlags", hr);
    hr = ambient->put_AllowContextMenu(VARIANT_FALSE);
    if (FAILED(hr))
        refused("ATL's host did not take AllowContextMenu", hr);
    DWORD flags = 0;
    VARIANT_BOOL menu = VARIANT_TRUE;
    if (FAILED(hr = ambient->get_DocHostFlags(&flags)) ||
        FAILED(hr = ambient->get_AllowContextMenu(&menu)))
        refused("ATL's host could not say what it kept", hr);
    settings.docHostFlags = flags;
    settings.contextMenu = menu != VARIANT_FALSE;
    if ((flags & storePageDocHostFlags) != storePageDocHostFlags || menu != VARIANT_FALSE)
        refused("ATL's host did not keep the page's settings", S_FALSE);
}

constexpr UINT_PTR containerSubclassId = 1;

// The hosts alive on the window thread, which the one focus hook answers for.
std::vector<BrowserHost*>& liveHosts() {
    static std::vector<BrowserHost*> hosts;
    return hosts;
}
HHOOK focusHookHandle = nullptr;

} // namespace

bool leavesTheStorePage(const MSG& message, KeyModifiers modifiers) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    if (!modifiers.control || modifiers.alt)
        return false;
    return message.wParam == 'N' || message.wParam == 'O' || message.wParam == 'L';
}

PageKey routePageKey(IOleInPlaceActiveObject* page, MSG& message, KeyModifiers modifiers) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return PageKey::Dispatch;
    if (leavesTheStorePage(message, modifiers))
        return PageKey::Refused;
    // S_OK: the page used the key; S_FALSE or a failure: it did not.
    if (page != nullptr && page->TranslateAccelerator(&message) == S_OK)
        return PageKey::UsedByPage;
    const bool tab = message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
                     !modifiers.control && !modifiers.alt;
    if (tab)
        return modifiers.shift ? PageKey::LeaveBackward : PageKey::LeaveForward;
    return PageKey::Dispatch;
}

KeyModifiers currentModifiers() {
    return {GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0};
}

ComPtr<IDispatch> makePageEvents(OpenOutside openOutside) {
    ComPtr<IDispatch> events;
    *events.put() = new PageEvents(std::move(openOutside));
    return events;
}

std::unique_ptr<BrowserHost> BrowserHost::create(HWND parent, int controlId, const RECT& place,
                                                 OpenOutside openOutside, HMODULE atlModule) {
    const AtlHost& atl = atlModule != nullptr ? AtlHost::of(atlModule) : AtlHost::system();
    if (atl.getControl == nullptr)
        return nullptr;
    std::unique_ptr<BrowserHost> host(new BrowserHost);
    host->settings_.features = setProcessFeatures();
    // AtlAxWin makes the control its window title names.
    host->window_ =
        CreateWindowExW(0, L"AtlAxWin", L"Shell.Explorer.2",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                        GetModuleHandleW(nullptr), nullptr);
    if (host->window_ == nullptr)
        return nullptr;
    setWindowSubclass(host->window_, containerProc, containerSubclassId,
                      reinterpret_cast<DWORD_PTR>(host.get()));
    liveHosts().push_back(host.get());
    if (focusHookHandle == nullptr)
        focusHookHandle = SetWindowsHookExW(WH_CBT, focusHook, nullptr, GetCurrentThreadId());
    // From here on the host's destructor takes the window and the control with it.
    ComPtr<IUnknown> control;
    if (FAILED(atl.getControl(host->window_, control.put())) || !control ||
        FAILED(control->QueryInterface(IID_IWebBrowser2,
                                       reinterpret_cast<void**>(host->browser_.put()))) ||
        !host->browser_)
        return nullptr;
    // No script-error dialogs over the results window, and no file dropped on it opened in
    // place of the store's page.
    host->browser_->put_Silent(VARIANT_TRUE);
    host->browser_->put_RegisterAsDropTarget(VARIANT_FALSE);
    setAmbientProperties(atl, host->window_, host->settings_);
    host->browser_->QueryInterface(IID_IOleInPlaceActiveObject,
                                   reinterpret_cast<void**>(host->active_.put()));
    host->placeControl();

    ComPtr<IConnectionPointContainer> points;
    HRESULT hr = host->browser_->QueryInterface(IID_IConnectionPointContainer,
                                                reinterpret_cast<void**>(points.put()));
    if (SUCCEEDED(hr))
        hr = points->FindConnectionPoint(DIID_DWebBrowserEvents2, host->events_.put());
    if (SUCCEEDED(hr)) {
        const ComPtr<IDispatch> events = makePageEvents(std::move(openOutside));
        hr = host->events_->Advise(events.get(), &host->eventsCookie_);
    }
    if (FAILED(hr)) {
        host->events_.reset();
        refused("the web-browser control does not tell its new windows", hr);
    }
    return host;
}

BrowserHost::~BrowserHost() {
    if (window_ != nullptr && IsWindow(window_))
        DestroyWindow(window_);
    release();
}

void BrowserHost::release() {
    // Before ATL's container lets go of the control: the events, then the references.
    if (events_) {
        events_->Unadvise(eventsCookie_);
        events_.reset();
    }
    active_.reset();
    browser_.reset();
    auto& hosts = liveHosts();
    hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
    if (hosts.empty() && focusHookHandle != nullptr) {
        UnhookWindowsHookEx(focusHookHandle);
        focusHookHandle = nullptr;
    }
    if (window_ != nullptr) {
        removeWindowSubclass(window_, containerProc, containerSubclassId);
        window_ = nullptr;
    }
}

bool BrowserHost::contains(HWND window) const {
    return window_ != nullptr && window != nullptr &&
           (window == window_ || IsChild(window_, window));
}

void BrowserHost::navigate(std::wstring_view address) {
    if (!browser_)
        return;
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

bool BrowserHost::preTranslateMessage(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !contains(message.hwnd))
        return false;
    const PageKey route = routePageKey(active_.get(), message, currentModifiers());
    switch (route) {
    case PageKey::UsedByPage:
    case PageKey::Refused:
        return true;
    case PageKey::LeaveForward:
    case PageKey::LeaveBackward:
        // As a control of a dialog leaves: its window moves the focus on in its own Tab order.
        SendMessageW(GetParent(window_), WM_NEXTDLGCTL, route == PageKey::LeaveBackward, FALSE);
        return true;
    case PageKey::Dispatch:
        // To the page's window as it is, not to the dialog manager.
        TranslateMessage(&message);
        DispatchMessageW(&message);
        return true;
    }
    return false;
}

void BrowserHost::activate() {
    if (entering_ || !browser_)
        return;
    entering_ = true;
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
    entering_ = false;
}

bool BrowserHost::silent() const {
    VARIANT_BOOL value = VARIANT_FALSE;
    return browser_ && SUCCEEDED(browser_->get_Silent(&value)) && value == VARIANT_TRUE;
}

bool BrowserHost::refusesFocus(HWND target, HWND losing) const {
    // The container itself is the window's Tab stop: the dialog manager and the window's own
    // focus memory put the focus there, and it hands it on to the page (activate).
    if (!contains(target) || target == window_ || entering_ || contains(losing))
        return false;
    // The user's pointer pressed inside the page: a click into it.
    for (const int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
        if (GetKeyState(button) < 0) {
            const DWORD at = GetMessagePos();
            RECT area{};
            GetWindowRect(window_, &area);
            if (PtInRect(&area, POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)}))
                return false;
        }
    // Anything else is the page asking for it (focus(), an autofocus field) while it loads.
    return true;
}

LRESULT CALLBACK BrowserHost::focusHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SETFOCUS) {
        const auto target = reinterpret_cast<HWND>(wParam);
        const auto losing = reinterpret_cast<HWND>(lParam);
        for (const BrowserHost* host : liveHosts())
            if (host->refusesFocus(target, losing))
                return 1;
        // The focus goes into a page or leaves it: its ring is drawn or taken away once it has.
        for (const BrowserHost* host : liveHosts())
            if (host->contains(target) != host->contains(losing))
                InvalidateRect(host->window_, nullptr, FALSE);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int BrowserHost::focusRingWidth() const {
    return MulDiv(2, dpiOf(window_), 96);
}

void BrowserHost::placeControl() {
    // ATL's container gives the control the whole of its place; the ring's margin is kept free.
    ComPtr<IOleInPlaceObject> inPlace;
    if (!browser_ ||
        FAILED(browser_->QueryInterface(IID_IOleInPlaceObject,
                                        reinterpret_cast<void**>(inPlace.put()))) ||
        !inPlace)
        return;
    RECT area{};
    GetClientRect(window_, &area);
    const int ring = focusRingWidth();
    area.right = std::max(area.left + ring, area.right - ring);
    area.bottom = std::max(area.top + ring, area.bottom - ring);
    area.left += ring;
    area.top += ring;
    inPlace->SetObjectRects(&area, &area);
}

void BrowserHost::paintFocusRing(HDC dc) const {
    RECT area{};
    GetClientRect(window_, &area);
    const int ring = focusRingWidth();
    // System colours: a high-contrast scheme draws it in its own.
    const HBRUSH brush = GetSysColorBrush(hasFocusInside() ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const RECT edges[] = {{area.left, area.top, area.right, area.top + ring},
                          {area.left, area.bottom - ring, area.right, area.bottom},
                          {area.left, area.top, area.left + ring, area.bottom},
                          {area.right - ring, area.top, area.right, area.bottom}};
    for (const RECT& edge : edges)
        FillRect(dc, &edge, brush);
}

LRESULT CALLBACK BrowserHost::containerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<BrowserHost*>(data);
    // The control's references go while ATL's container still holds it.
    if (message == WM_DESTROY)
        self->release();
    const LRESULT result = defSubclassProc(window, message, wParam, lParam);
    if (message == WM_SETFOCUS) {
        self->activate();
    } else if (message == WM_SIZE) {
        self->placeControl();
    } else if (message == WM_PAINT) {
        // After ATL's own painting, which leaves the margin as it was.
        if (const HDC dc = GetDC(window)) {
            self->paintFocusRing(dc);
            ReleaseDC(window, dc);
        }
    }
    return result;
}

} // namespace quorvin::windows
