#include "ControlOrder.h"

#include <algorithm>
#include <limits>
#include <set>
#include <string_view>

namespace quorvin::win32 {

layout::Twips absolutePlace(const layout::WindowLayout& window, const layout::Control& control) {
    layout::Twips place = control.place;
    // The depth bound keeps a parent cycle in a table from looping.
    std::string_view parent = control.parent;
    for (std::size_t depth = 0; !parent.empty() && depth < window.controls.size(); ++depth) {
        const layout::Control& frame = window.at(parent);
        place.left += frame.place.left;
        place.top += frame.place.top;
        parent = frame.parent;
    }
    return place;
}

std::vector<std::size_t> creationOrder(const layout::WindowLayout& window) {
    const auto& controls = window.controls;
    const auto indexOf = [&](std::string_view name) {
        return static_cast<std::size_t>(&window.at(name) - controls.data());
    };
    // Caption labels are placed with the control they name.
    std::set<std::string_view> placed;
    for (const layout::Control& control : controls)
        if (!control.captionLabel.empty())
            placed.insert(control.captionLabel);

    const auto tabKey = [&](std::size_t i) {
        return controls[i].tabIndex.value_or(std::numeric_limits<int>::max());
    };
    const auto byTabIndex = [&](std::vector<std::size_t>& indexes) {
        std::stable_sort(indexes.begin(), indexes.end(),
                         [&](std::size_t a, std::size_t b) { return tabKey(a) < tabKey(b); });
    };
    std::vector<std::size_t> focusable;
    std::vector<std::size_t> drawn;
    std::vector<std::size_t> frames;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind == layout::ControlKind::Frame)
            frames.push_back(i);
        else if (layout::takesFocus(controls[i].kind))
            focusable.push_back(i);
        else if (!placed.contains(controls[i].name))
            drawn.push_back(i);
    }
    byTabIndex(focusable);
    byTabIndex(drawn);

    std::vector<std::size_t> order;
    order.reserve(controls.size());
    // A focusable control comes right after the label that names it: screen readers name an
    // unnamed control by the label before it.
    for (std::size_t i : focusable) {
        if (!controls[i].captionLabel.empty())
            order.push_back(indexOf(controls[i].captionLabel));
        order.push_back(i);
    }
    for (std::size_t i : drawn) {
        order.push_back(i);
        // The caption label lies below its value, which may reach into it.
        if (!controls[i].captionLabel.empty())
            order.push_back(indexOf(controls[i].captionLabel));
    }
    // A frame comes after the frames it holds: in the table a frame precedes its contents.
    order.insert(order.end(), frames.rbegin(), frames.rend());
    return order;
}

} // namespace quorvin::win32
