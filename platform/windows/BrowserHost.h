#pragma once

#include "Com.h"

#include <windows.h>

#include <exdisp.h>
#include <oleidl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvin::windows {

// Where a key pressed inside the web-browser control goes.
enum class PageKey {
    UsedByPage,    // the page took it (a link, a field, its own Tab stops)
    LeaveForward,  // Tab past the page's last stop: on to the window's next control
    LeaveBackward, // Shift+Tab before its first stop: back to the previous control
    Refused,       // would open another browser window or leave the store's page: dropped
    Dispatch,      // not the page's: dispatched to the focused window as it is
};

struct KeyModifiers {
    bool control = false;
    bool shift = false;
    bool alt = false;
};

// The keys Internet Explorer's control turns into a new window (Ctrl+N), an open-file dialog
// (Ctrl+O) or the address box (Ctrl+L).
bool leavesTheStorePage(const MSG& message, KeyModifiers modifiers);

// Offers a key message that arrived inside the page to the page first (its in-place active
// object), as a host of the control must; page may be null (no page object).
PageKey routePageKey(IOleInPlaceActiveObject* page, MSG& message, KeyModifiers modifiers);

// The modifier keys' state for the message being handled.
KeyModifiers currentModifiers();

// Where an address goes that the page asks to open outside its frame, with whether a click or key
// of the user's asked for it: the window decides by the store page's rule (pageRequest) whether
// the user's own browser or mail program takes it.
using OpenOutside = std::function<void(const std::wstring& address, bool userAsked)>;

// The control's events a host answers (DWebBrowserEvents2). No window of the control's own ever
// opens: a new window the page asks for (a link with a target, window.open, "open in new window")
// is cancelled (NEWWINDOW3, which every control since Windows XP SP2 raises), and its address goes
// to openOutside, a click or key of the user's told by the event's flags. window.close() is
// cancelled, so the frame keeps its page; a file the page would download is cancelled, so nothing
// is written. Every other event is left as it is.
ComPtr<IDispatch> makePageEvents(OpenOutside openOutside);

// What ATL's host and the control kept of the settings that keep the page inside its frame.
struct HostSettings {
    // Read back from ATL's host: DOCHOSTUIFLAG_* and whether the control may show its own context
    // menu. Empty where the host has no ambient properties (Wine's).
    std::optional<DWORD> docHostFlags;
    std::optional<bool> contextMenu;
    // The process's pop-up manager on and navigation sounds off (urlmon's features); false where
    // urlmon lacks them.
    bool features = false;
};

// Windows' web-browser control (Shell.Explorer.2) in an AtlAxWin child window: atl.dll, from the
// system folder, hosts it, so the program needs no site of its own. Everything the program does
// with the control is here: it is made silent (no script-error boxes), refuses dropped files and
// shows no context menu; the page draws DPI aware without a 3-D border; its events are answered
// (makePageEvents); keys inside it reach the page first; it takes the keyboard focus only when the
// user tabs or clicks into it, never when a page asks; and it lets go of the control when its
// window goes.
class BrowserHost {
public:
    // The hosted control, or null when atl.dll or the control is missing. A test may hand in a
    // module standing in for atl.dll. Throws std::runtime_error when ATL's host or the control
    // refuse a setting or the events.
    static std::unique_ptr<BrowserHost> create(HWND parent, int controlId, const RECT& place,
                                               OpenOutside openOutside, HMODULE atl = nullptr);
    ~BrowserHost();
    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;

    // The AtlAxWin window, the window's Tab stop; null once it is gone.
    HWND window() const { return window_; }
    // True for the container window and every window inside it.
    bool contains(HWND window) const;

    // Starts loading the address and returns at once; throws std::runtime_error when the
    // control refuses it.
    void navigate(std::wstring_view address);
    // A message of the loop before it is dispatched; true when the host used it. A key inside the
    // control goes to the page first, as every host of the control must; Tab past the page's last
    // stop (Shift+Tab before its first) moves on in the parent window's Tab order
    // (WM_NEXTDLGCTL); keys that would open another window or address are dropped; any other key
    // is dispatched to the page's window as it is, past the dialog manager.
    bool preTranslateMessage(MSG& message);
    // Whether the control keeps script errors to itself.
    bool silent() const;
    // Whether the keyboard focus is in the container or anywhere in the page. The page draws no
    // focus a user could find, so the container then draws a ring in the highlight colour in a
    // margin of its own around the page.
    bool hasFocusInside() const { return contains(GetFocus()); }
    // The ring's width at the window's scale.
    int focusRingWidth() const;
    const HostSettings& settings() const { return settings_; }

private:
    BrowserHost() = default;
    void activate();
    void release();
    void placeControl();
    void paintFocusRing(HDC dc) const;
    bool refusesFocus(HWND target, HWND losing) const;
    static LRESULT CALLBACK containerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK focusHook(int code, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IOleInPlaceActiveObject> active_;
    ComPtr<IConnectionPoint> events_;
    DWORD eventsCookie_ = 0;
    HostSettings settings_;
    bool entering_ = false;
};

// ATL's ambient properties of its host window, its table of methods as ATL declares it
// (atliface.idl); no Windows SDK header for MinGW has it.
struct IAxWinAmbientDispatch : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE put_AllowWindowlessActivation(VARIANT_BOOL) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowWindowlessActivation(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ForeColor(OLE_COLOR) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ForeColor(OLE_COLOR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_LocaleID(LCID) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LocaleID(LCID*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UserMode(VARIANT_BOOL) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UserMode(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DisplayAsDefault(VARIANT_BOOL) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DisplayAsDefault(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Font(IDispatch*) = 0; // IFontDisp
    virtual HRESULT STDMETHODCALLTYPE get_Font(IDispatch**) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_MessageReflect(VARIANT_BOOL) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MessageReflect(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShowGrabHandles(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShowHatching(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DocHostFlags(DWORD) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocHostFlags(DWORD*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DocHostDoubleClickFlags(DWORD) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocHostDoubleClickFlags(DWORD*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AllowContextMenu(VARIANT_BOOL) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowContextMenu(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AllowShowUI(VARIANT_BOOL) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowShowUI(VARIANT_BOOL*) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_OptionKeyPath(BSTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_OptionKeyPath(BSTR*) = 0;
};

// The flags the page is drawn with: at the screen's scale, without a sunken border.
inline constexpr DWORD storePageDocHostFlags = 0x40000000    // DOCHOSTUIFLAG_DPI_AWARE
                                               | 0x00000004; // DOCHOSTUIFLAG_NO3DBORDER

} // namespace quorvin::windows

__CRT_UUID_DECL(quorvin::windows::IAxWinAmbientDispatch, 0xB6EA2051, 0x048A, 0x11D1, 0x82, 0xB9,
                0x00, 0xC0, 0x4F, 0xB9, 0x94, 0x2E)
