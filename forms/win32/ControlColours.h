#pragma once

#include "forms/WindowLayout.h"

#include <windows.h>

namespace quorvin::win32forms {

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

} // namespace quorvin::win32forms
