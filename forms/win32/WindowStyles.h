#pragma once

#include "forms/WindowLayout.h"

#include <windows.h>

#include <string>

namespace quorvin::win32forms {

struct WindowStyles {
    DWORD style;
    DWORD exStyle;
};

// The top-level window's styles for its frame: a fixed dialog frame with a close box only (no
// title bar without a caption), or a fixed single border with minimize and close; never a
// sizing frame, never a tool window. A window in the taskbar stands there on its own
// (WS_EX_APPWINDOW); the others are kept out of it by their hidden owner.
WindowStyles stylesFor(const layout::WindowLayout& window);

// Whether a label's text wraps at word breaks: only a value label two lines of its font high. A
// fixed text never wraps (its box grows to hold it); a one-line value shows its one line, clipped
// at its right edge if need be, rather than a second line cut in half.
bool labelWraps(const layout::Control& label);

// The window class a layout's window is registered as (its table's); throws std::logic_error for
// a table without one.
std::wstring windowClassName(const layout::WindowLayout& window);
// The class of the windows' hidden owner.
inline constexpr const wchar_t* ownerClassName = L"Quorvin.Owner";

// The hidden top-level window that owns the windows kept out of the taskbar, as Windows
// programs do it; made at the first call. Throws Win32Error when it cannot be made.
HWND hiddenOwner();

// The client rectangle in screen pixels at a DPI: where the layout puts it, or centred in the
// given work area (the screen without its taskbar).
RECT clientRectOnScreen(const layout::WindowLayout& window, int dpi, const RECT& workArea);

} // namespace quorvin::win32forms
