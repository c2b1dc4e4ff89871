#include "ControlColours.h"

namespace quorvin::win32forms {

namespace {
bool isTextBox(const layout::Control& control) {
    return control.kind == layout::ControlKind::TextBox;
}
} // namespace

Colour textColour(const layout::Control& control, bool highContrast) {
    if (isTextBox(control))
        return systemColour(COLOR_WINDOWTEXT);
    if (control.colour != layout::TextColour::Blue)
        return systemColour(COLOR_BTNTEXT);
    if (!highContrast)
        return designedBlue;
    // The chat link is the one label a click acts on: the scheme's hyperlink colour.
    const bool link = control.role == layout::Role::ChatLink;
    return systemColour(link ? COLOR_HOTLIGHT : COLOR_BTNTEXT);
}

Colour backgroundColour(const layout::Control& control) {
    return systemColour(isTextBox(control) ? COLOR_WINDOW : COLOR_BTNFACE);
}

} // namespace quorvin::win32forms
