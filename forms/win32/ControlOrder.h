#pragma once

#include "forms/WindowLayout.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

// Where and in which order a layout's controls become Win32 child windows.
namespace quorvin::win32 {

// Every control's id (GetDlgCtrlID) is this plus its index in the layout's table, so that a
// window's children map back to their designer names.
inline constexpr int firstControlId = 100;

// The control's place relative to the top-level window's client area: the twips of its parents'
// places added up. Frames do not parent their contents in Win32 (group boxes forward no
// notifications), so every control is a child of the top-level window.
layout::Twips absolutePlace(const layout::WindowLayout& window, const layout::Control& control);

// The table indexes in creation order, which is z-order from the top and the dialog manager's
// Tab order. As in the designer, where labels and pictures are drawn on the form itself, the
// windowed controls lie above them: the focusable controls come first, by tab index, each
// preceded by the label that names it for screen readers (its caption label); then the
// labels and the picture by tab index, each value label followed by its caption label; then the
// frames, innermost first, so that no group box covers what stands in it.
std::vector<std::size_t> creationOrder(const layout::WindowLayout& window);

} // namespace quorvin::win32
