#include "WindowLayout.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace quorvin::layout {

int toPixels(int twips, int dpi) {
    // Nearest pixel, halves away from minus infinity, for negative places too (Frame1's top).
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long twice = 2 * scaled + twipsPerInch;
    const long long divisor = 2LL * twipsPerInch;
    const long long quotient = twice / divisor;
    return static_cast<int>(twice % divisor < 0 ? quotient - 1 : quotient);
}

PixelRect toPixels(const Twips& twips, int dpi) {
    const int left = toPixels(twips.left, dpi);
    const int top = toPixels(twips.top, dpi);
    return {left, top, toPixels(twips.left + twips.width, dpi) - left,
            toPixels(twips.top + twips.height, dpi) - top};
}

bool takesFocus(ControlKind kind) {
    switch (kind) {
    case ControlKind::TextBox:
    case ControlKind::CommandButton:
    case ControlKind::ListBox:
    case ControlKind::Browser:
        return true;
    case ControlKind::Frame:
    case ControlKind::Label:
    case ControlKind::Picture:
        return false;
    }
    return false;
}

const Control* WindowLayout::find(std::string_view controlName) const {
    const auto it = std::find_if(controls.begin(), controls.end(),
                                 [&](const Control& c) { return c.name == controlName; });
    return it == controls.end() ? nullptr : &*it;
}

const Control& WindowLayout::at(std::string_view controlName) const {
    if (const Control* control = find(controlName))
        return *control;
    throw std::out_of_range(std::string(name) + " has no control " + std::string(controlName));
}

std::vector<const Control*> WindowLayout::tabStops() const {
    std::vector<const Control*> stops;
    for (const Control& control : controls)
        if (takesFocus(control.kind) && control.tabIndex && control.visible)
            stops.push_back(&control);
    std::stable_sort(stops.begin(), stops.end(), [](const Control* a, const Control* b) {
        return *a->tabIndex < *b->tabIndex;
    });
    return stops;
}

std::vector<const Control*> WindowLayout::children(std::string_view parentName) const {
    std::vector<const Control*> found;
    for (const Control& control : controls)
        if (control.parent == parentName)
            found.push_back(&control);
    return found;
}

} // namespace quorvin::layout
