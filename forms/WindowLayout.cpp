#include "WindowLayout.h"

#include <algorithm>
#include <cstdlib>
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

bool showsFixedText(const Control& control) {
    switch (control.role) {
    case Role::Caption:
    case Role::ChatLink:
    case Role::AcceptButton:
    case Role::CancelButton:
    case Role::CopyButton:
        return true;
    case Role::Frame:
        return !control.caption.empty();
    case Role::Value:
    case Role::ChatPicture:
    case Role::Disclaimer:
    case Role::ModuleList:
    case Role::Browser:
        return false;
    }
    return false;
}

bool growsToHoldText(const Control& control) {
    return showsFixedText(control) &&
           (control.kind == ControlKind::Label || control.kind == ControlKind::CommandButton);
}

bool growsAboutCentre(const WindowLayout& window, const Control& control) {
    if (control.kind == ControlKind::CommandButton)
        return true;
    const Control* parent = window.find(control.parent);
    const int parentWidth = parent != nullptr ? parent->place.width : window.client.width;
    const int leftMargin = control.place.left;
    const int rightMargin = parentWidth - control.place.left - control.place.width;
    // Within a pixel or so of centred, as the designer left it.
    constexpr int centredWithinTwips = 30;
    return std::abs(leftMargin - rightMargin) <= centredWithinTwips;
}

PixelRect widenedToText(const WindowLayout& window, const Control& control, PixelRect box,
                        int withinLeft, int withinRight, int neededWidth) {
    const int room = withinRight - withinLeft;
    const int width = std::min(std::max(box.width, neededWidth), std::max(room, box.width));
    if (width == box.width)
        return box;
    int left = growsAboutCentre(window, control) ? box.left - (width - box.width) / 2 : box.left;
    // Pushed back inside the parent where the grown box would stand out of it.
    left = std::max(withinLeft, std::min(left, withinRight - width));
    return {left, box.top, width, box.height};
}

ControlKind kindOf(Role role) {
    switch (role) {
    case Role::Frame:
        return ControlKind::Frame;
    case Role::Caption:
    case Role::Value:
    case Role::ChatLink:
        return ControlKind::Label;
    case Role::ChatPicture:
        return ControlKind::Picture;
    case Role::Disclaimer:
        return ControlKind::TextBox;
    case Role::AcceptButton:
    case Role::CancelButton:
    case Role::CopyButton:
        return ControlKind::CommandButton;
    case Role::ModuleList:
        return ControlKind::ListBox;
    case Role::Browser:
        return ControlKind::Browser;
    }
    throw std::logic_error("A control has a role no front end knows");
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

std::vector<const Control*> WindowLayout::withRole(Role role) const {
    std::vector<const Control*> found;
    for (const Control& control : controls)
        if (control.role == role)
            found.push_back(&control);
    return found;
}

const Control& WindowLayout::only(Role role) const {
    const std::vector<const Control*> found = withRole(role);
    if (found.size() != 1)
        throw std::logic_error(std::string(name) + " has " + std::to_string(found.size()) +
                               " controls of a role it has once");
    return *found.front();
}

void checkLayout(const WindowLayout& window) {
    const std::string where =
        window.name.empty() ? std::string("A window") : std::string(window.name);
    const auto fault = [&](const std::string& what) {
        throw std::logic_error("The layout of " + where + " cannot be built: " + what);
    };
    if (window.name.empty() || window.className.empty())
        fault("it has no name or no window class");
    for (const Control& control : window.controls) {
        const std::string name(control.name);
        if (control.name.empty())
            fault("a control has no name");
        if (std::count_if(window.controls.begin(), window.controls.end(),
                          [&](const Control& c) { return c.name == control.name; }) != 1)
            fault(name + " is named twice");
        if (kindOf(control.role) != control.kind)
            fault(name + "'s role belongs to another kind of control");
        if (!control.parent.empty()) {
            const Control* parent = window.find(control.parent);
            if (parent == nullptr || parent->kind != ControlKind::Frame)
                fault(name + " stands in " + std::string(control.parent) + ", which is no frame");
        }
        if (!control.captionLabel.empty()) {
            const Control* caption = window.find(control.captionLabel);
            if (caption == nullptr || caption->role != Role::Caption)
                fault(name + " is named by " + std::string(control.captionLabel) +
                      ", which is no caption label");
        }
    }
    // A chain of frames that comes back to itself would never end.
    for (const Control& control : window.controls) {
        std::string_view parent = control.parent;
        for (std::size_t depth = 0; !parent.empty(); ++depth) {
            if (depth > window.controls.size())
                fault(std::string(control.name) + "'s frames enclose each other");
            parent = window.at(parent).parent;
        }
    }
}

void checkModuleLists(const WindowLayout& window) {
    const std::array<ModuleList, 3> all{ModuleList::Slots, ModuleList::Memory, ModuleList::Speed};
    for (const ModuleList list : all) {
        const Control* control = window.find(listName(list));
        if (control == nullptr || control->role != Role::ModuleList)
            throw std::logic_error(std::string(window.name) + "'s layout has no module list " +
                                   listName(list));
    }
    if (window.withRole(Role::ModuleList).size() != all.size())
        throw std::logic_error(std::string(window.name) +
                               "'s layout has a module list the scan never fills");
}

std::array<ModuleList, 2> couplingTargets(ModuleList changed) {
    switch (changed) {
    case ModuleList::Memory:
        return {ModuleList::Slots, ModuleList::Speed};
    case ModuleList::Slots:
        return {ModuleList::Memory, ModuleList::Speed};
    case ModuleList::Speed:
        return {ModuleList::Memory, ModuleList::Slots};
    }
    return {ModuleList::Memory, ModuleList::Speed};
}

void spreadSelection(const ListSelection& lists, ModuleList changed) {
    for (ModuleList target : couplingTargets(changed)) {
        const int index = lists.selectedIndex(changed);
        if (lists.selectedIndex(target) == index)
            continue;
        lists.setSelectedIndex(target, index);
        spreadSelection(lists, target);
    }
}

} // namespace quorvin::layout
