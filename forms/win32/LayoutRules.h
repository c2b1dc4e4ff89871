#pragma once

#include "forms/WindowLayout.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The rules by which a layout table becomes a Win32 window: where and in which order its controls
// go, their styles, fonts and colours, and where the window goes on its screen. None makes a
// window.
namespace quorvin::win32forms {

// Every control's id (GetDlgCtrlID) is this plus its index in the layout's table, so that a
// window's children map back to their designer names.
inline constexpr int firstControlId = 100;

// Every list box row's height: 195 twips, 13 pixels at 96 DPI, as Windows draws MS Sans Serif
// rows.
inline constexpr int listRowTwips = 195;

// The control's place relative to the top-level window's client area: the twips of its parents'
// places added up. Frames do not parent their contents in Win32 (group boxes forward no
// notifications), so every control is a child of the top-level window.
layout::Twips absolutePlace(const layout::WindowLayout& window, const layout::Control& control);

// The table indexes in creation order, which is z-order from the top and the order in which
// Windows' accessibility layer, and so a screen reader, reads the window: each frame, then what
// stands in it in the table's order, each caption label right before the control it names (a
// value label, a list).
std::vector<std::size_t> readingOrder(const layout::WindowLayout& window);

// The table indexes from the control drawn on top to the one drawn beneath everything, as the
// designer draws them: windowed controls (text box, buttons, lists, browser) above the labels and
// the picture, which are drawn on the form itself; each value label above its caption label,
// which may reach under it; the frames beneath what stands in them, innermost first.
std::vector<std::size_t> drawingOrder(const layout::WindowLayout& window);

// For each control (by table index), the controls that lie below it in z-order but are drawn
// over it where their places overlap: it leaves their rectangles to them, so that what the
// window draws does not depend on the reading order.
std::vector<std::vector<std::size_t>> drawnOver(const layout::WindowLayout& window);

// The Tab stop after (or before) the named control in the layout's Tab order, round the window;
// from a control that is no stop, the first (or last) stop. Null when the window has none.
const layout::Control* nextTabStop(const layout::WindowLayout& window, std::string_view current,
                                   bool backwards);

// A font's character height in pixels at a DPI (the negative lfHeight): 8.25 pt is 11 pixels at
// 96 DPI, 22 at 192.
int fontPixelHeight(double points, int dpi);

// The face a font is made with at a DPI. MS Sans Serif is a bitmap font, which Windows scales by
// other bitmap sizes or doubled pixels; at every DPI but 96 its TrueType twin with the same
// metrics, Microsoft Sans Serif, draws crisp text instead.
std::wstring faceAt(std::string_view family, int dpi);

// Whether a label's text wraps at word breaks: only a value label two lines of its font high. A
// fixed text never wraps (its box grows to hold it); a one-line value shows its one line, clipped
// at its right edge if need be, rather than a second line cut in half.
bool labelWraps(const layout::Control& label);

// A colour as the window draws it: one of the system's colours (COLOR_BTNTEXT...) or a fixed one.
struct Colour {
    int systemColour = -1; // -1: the fixed colour
    COLORREF fixed = 0;
    COLORREF resolve() const { return systemColour >= 0 ? GetSysColor(systemColour) : fixed; }
    bool operator==(const Colour&) const = default;
};

inline constexpr Colour systemColour(int index) {
    return {index, 0};
}
inline constexpr Colour designedBlue{-1, RGB(0, 0, 255)};

// A label's, frame's or text box's text colour: the layout's blue for value labels, the chat link
// and the splash's title, the system's text colour for the rest. In high contrast every text is
// in the system's colours, the link in the hyperlink colour, as the user's scheme has them.
Colour textColour(const layout::Control& control, bool highContrast);

// The background behind it: a text box's window colour, else the face colour.
Colour backgroundColour(const layout::Control& control);

struct WindowStyles {
    DWORD style;
    DWORD exStyle;
};

// The top-level window's styles for its frame: a fixed dialog frame with a close box only (no
// title bar without a caption), or a fixed single border with minimize and close; never a
// sizing frame, never a tool window. A window in the taskbar stands there on its own
// (WS_EX_APPWINDOW); the others are kept out of it by their hidden owner.
WindowStyles stylesFor(const layout::WindowLayout& window);

// The window class a layout's window is registered as (its table's); throws std::logic_error for
// a table without one.
std::wstring windowClassName(const layout::WindowLayout& window);

// The client rectangle in screen pixels at a DPI: where the layout puts it, or centred in the
// given work area (the screen without its taskbar).
RECT clientRectOnScreen(const layout::WindowLayout& window, int dpi, const RECT& workArea);

// A window's frame on its screen, and how many pixels shorter than designed its browser is.
struct FittedWindow {
    RECT frame;
    int heightCut = 0;
};

// Where a window goes so that it lies wholly in the work area (the screen without the taskbar):
// its designed place where it fits, otherwise moved in, keeping its size. A window taller than
// the work area keeps its width and takes the work area's height, as far as heightCut allows
// (the most its browser may give); whatever is still too tall or too wide keeps its title bar
// and left edge on the screen.
FittedWindow fitInWorkArea(const RECT& designed, const RECT& workArea, int mostHeightCut);

// Where a window goes when Windows moves it to a screen of another scale: exactly the rectangle
// Windows suggests, wherever that lies (across two screens too), as Windows asks; fitting into a
// work area happens when a window first opens. The heightCut is how much shorter than designed
// (designedFrame's height at the new scale) it is, as far as mostHeightCut allows.
FittedWindow takeSuggested(const RECT& suggested, const RECT& designedFrame, int mostHeightCut);

// Whether the control gives way when its window is shortened: the browser and the frames that
// hold it. Every other control keeps its place and size.
bool givesWay(const layout::WindowLayout& window, const layout::Control& control);

// The most pixels a window may be shortened by at a DPI: all of its browser's height but a
// quarter; 0 for a window without a browser.
int mostHeightCut(const layout::WindowLayout& window, int dpi);

} // namespace quorvin::win32forms
