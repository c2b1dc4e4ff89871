#pragma once

#include "ComPtr.h"
#include "PageKeys.h"

#include <windows.h>

#include <exdisp.h>
#include <oleidl.h>

#include <memory>
#include <string_view>

namespace quorvin::windows {

// Windows' web-browser control (Shell.Explorer.2) in an AtlAxWin child window: atl.dll, from the
// system folder, hosts it, so the program needs no site of its own. Script errors stay silent,
// files dropped on it are refused; where the ATL host offers its ambient properties the page
// draws DPI aware and without a 3-D border.
class BrowserHost {
public:
    // The hosted control, or null when atl.dll or the control is missing.
    static std::unique_ptr<BrowserHost> create(HWND parent, int controlId, const RECT& place);
    ~BrowserHost();
    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;

    // The AtlAxWin window: the Tab stop.
    HWND window() const { return window_; }
    // True for the container window and every window inside it.
    bool contains(HWND window) const;

    // Starts loading the address and returns at once; throws std::runtime_error when the
    // control refuses it.
    void navigate(std::wstring_view address);
    // Offers a key message that arrived inside the control to the page first, as every host of
    // the control does, and says where it goes from there.
    PageKey routeKey(MSG& message);
    // Makes the control UI-active and gives its own window the keyboard focus.
    void activate();
    // Whether the control keeps script errors to itself.
    bool silent() const;

private:
    BrowserHost() = default;
    static LRESULT CALLBACK containerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND window_ = nullptr;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IOleInPlaceActiveObject> active_;
    bool activating_ = false;
};

} // namespace quorvin::windows
