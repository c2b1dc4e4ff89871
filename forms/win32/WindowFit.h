#pragma once

#include "forms/WindowLayout.h"

#include <windows.h>

namespace quorvin::win32forms {

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
