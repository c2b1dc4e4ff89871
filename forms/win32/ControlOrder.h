#pragma once

#include "forms/WindowLayout.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

// Where and in which order a layout's controls become Win32 child windows.
namespace quorvin::win32forms {

// Every control's id (GetDlgCtrlID) is this plus its index in the layout's table, so that a
// window's children map back to their designer names.
inline constexpr int firstControlId = 100;

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

} // namespace quorvin::win32forms
