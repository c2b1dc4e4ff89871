#include "ControlOrder.h"

#include <algorithm>
#include <limits>
#include <set>
#include <string_view>

namespace quorvin::win32forms {

namespace {

std::size_t indexOf(const layout::WindowLayout& window, std::string_view name) {
    return static_cast<std::size_t>(&window.at(name) - window.controls.data());
}

// The caption labels, which are placed with the control they name.
std::set<std::string_view> captionLabels(const layout::WindowLayout& window) {
    std::set<std::string_view> labels;
    for (const layout::Control& control : window.controls)
        if (!control.captionLabel.empty())
            labels.insert(control.captionLabel);
    return labels;
}

bool overlap(const layout::Twips& a, const layout::Twips& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

} // namespace

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

std::vector<std::size_t> readingOrder(const layout::WindowLayout& window) {
    const std::set<std::string_view> captions = captionLabels(window);
    std::vector<std::size_t> order;
    std::vector<bool> placed(window.controls.size(), false);
    const auto place = [&](std::size_t index) {
        if (!placed[index]) {
            placed[index] = true;
            order.push_back(index);
        }
    };
    // Depth first from the window itself; a frame's contents follow the frame.
    const auto visit = [&](auto& self, std::string_view parent, std::size_t depth) -> void {
        if (depth > window.controls.size())
            return;
        for (const layout::Control* child : window.children(parent)) {
            if (captions.contains(child->name))
                continue;
            if (!child->captionLabel.empty())
                place(indexOf(window, child->captionLabel));
            place(indexOf(window, child->name));
            if (child->kind == layout::ControlKind::Frame)
                self(self, child->name, depth + 1);
        }
    };
    visit(visit, "", 0);
    // A control whose parent is not in the table is still made, last.
    for (std::size_t index = 0; index < window.controls.size(); ++index)
        place(index);
    return order;
}

std::vector<std::size_t> drawingOrder(const layout::WindowLayout& window) {
    const auto& controls = window.controls;
    const std::set<std::string_view> captions = captionLabels(window);
    const auto tabKey = [&](std::size_t i) {
        return controls[i].tabIndex.value_or(std::numeric_limits<int>::max());
    };
    const auto byTabIndex = [&](std::vector<std::size_t>& indexes) {
        std::stable_sort(indexes.begin(), indexes.end(),
                         [&](std::size_t a, std::size_t b) { return tabKey(a) < tabKey(b); });
    };
    std::vector<std::size_t> windowed;
    std::vector<std::size_t> drawn;
    std::vector<std::size_t> frames;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind == layout::ControlKind::Frame)
            frames.push_back(i);
        else if (layout::takesFocus(controls[i].kind))
            windowed.push_back(i);
        else if (!captions.contains(controls[i].name))
            drawn.push_back(i);
    }
    byTabIndex(windowed);
    byTabIndex(drawn);

    std::vector<std::size_t> order;
    order.reserve(controls.size());
    for (std::size_t i : windowed) {
        // A list's heading lies beside it, not under it: drawn with it.
        if (!controls[i].captionLabel.empty())
            order.push_back(indexOf(window, controls[i].captionLabel));
        order.push_back(i);
    }
    for (std::size_t i : drawn) {
        order.push_back(i);
        if (!controls[i].captionLabel.empty())
            order.push_back(indexOf(window, controls[i].captionLabel));
    }
    // In the table a frame precedes its contents, and so the frames inside it.
    order.insert(order.end(), frames.rbegin(), frames.rend());
    return order;
}

std::vector<std::vector<std::size_t>> drawnOver(const layout::WindowLayout& window) {
    const std::size_t count = window.controls.size();
    std::vector<std::size_t> zRank(count), drawRank(count);
    const std::vector<std::size_t> z = readingOrder(window);
    const std::vector<std::size_t> drawing = drawingOrder(window);
    for (std::size_t rank = 0; rank < count; ++rank) {
        zRank[z[rank]] = rank;
        drawRank[drawing[rank]] = rank;
    }
    std::vector<std::vector<std::size_t>> over(count);
    for (std::size_t a = 0; a < count; ++a) {
        const layout::Twips placeA = absolutePlace(window, window.controls[a]);
        for (std::size_t b = 0; b < count; ++b) {
            if (zRank[b] <= zRank[a] || drawRank[b] >= drawRank[a] || !window.controls[b].visible)
                continue;
            if (overlap(placeA, absolutePlace(window, window.controls[b])))
                over[a].push_back(b);
        }
    }
    return over;
}

const layout::Control* nextTabStop(const layout::WindowLayout& window, std::string_view current,
                                   bool backwards) {
    const std::vector<const layout::Control*> stops = window.tabStops();
    if (stops.empty())
        return nullptr;
    const auto at = std::find_if(stops.begin(), stops.end(), [&](const layout::Control* stop) {
        return stop->name == current;
    });
    if (at == stops.end())
        return backwards ? stops.back() : stops.front();
    const std::size_t index = static_cast<std::size_t>(at - stops.begin());
    const std::size_t next =
        backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    return stops[next];
}

} // namespace quorvin::win32forms
