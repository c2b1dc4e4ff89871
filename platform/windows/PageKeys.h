#pragma once

#include <windows.h>

#include <oleidl.h>

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

} // namespace quorvin::windows
