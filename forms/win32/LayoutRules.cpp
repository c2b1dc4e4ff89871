#include "LayoutRules.h"

#include "platform/windows/Com.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>

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

bool isTextBox(const layout::Control& control) {
    return control.kind == layout::ControlKind::TextBox;
}

const layout::Control* browserOf(const layout::WindowLayout& window) {
    for (const layout::Control& control : window.controls)
        if (control.kind == layout::ControlKind::Browser)
            return &control;
    return nullptr;
}

// The left (or top) edge that keeps a span of the given size inside the work area's span.
long placeWithin(long designed, long size, long workStart, long workEnd) {
    if (size >= workEnd - workStart)
        return workStart;
    return std::clamp(designed, workStart, workEnd - size);
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

int fontPixelHeight(double points, int dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

std::wstring faceAt(std::string_view family, int dpi) {
    if (family == "MS Sans Serif" && dpi != USER_DEFAULT_SCREEN_DPI)
        return L"Microsoft Sans Serif";
    return windows::toWide(family);
}

WindowStyles stylesFor(const layout::WindowLayout& window) {
    // No WS_CLIPCHILDREN: group boxes draw no background of their own, the window's shows
    // through them.
    DWORD style = 0;
    DWORD exStyle = window.inTaskbar ? WS_EX_APPWINDOW : 0;
    switch (window.frame) {
    case layout::WindowFrame::FixedDialog:
        if (window.caption.empty()) {
            style |= WS_POPUP | WS_DLGFRAME;
        } else {
            style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
            exStyle |= WS_EX_DLGMODALFRAME;
        }
        break;
    case layout::WindowFrame::FixedSingle:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        break;
    }
    return {style, exStyle};
}

bool labelWraps(const layout::Control& label) {
    constexpr double twipsPerPoint = 20;
    return !layout::showsFixedText(label) &&
           label.place.height >= 2 * label.font.points * twipsPerPoint;
}

std::wstring windowClassName(const layout::WindowLayout& window) {
    if (window.className.empty())
        throw std::logic_error("The window " + std::string(window.name) + " has no window class");
    return windows::toWide(window.className);
}

RECT clientRectOnScreen(const layout::WindowLayout& window, int dpi, const RECT& workArea) {
    // The client area's size is its own twips converted, not the difference of two rounded edges
    // (at 144 DPI 1845 + 11775 twips would give 1177 pixels where Frame1, as wide, has 1178).
    const layout::PixelRect client{
        layout::toPixels(window.client.left, dpi), layout::toPixels(window.client.top, dpi),
        layout::toPixels(window.client.width, dpi), layout::toPixels(window.client.height, dpi)};
    RECT rect{client.left, client.top, client.left + client.width, client.top + client.height};
    if (window.start == layout::StartPosition::CenterScreen) {
        const int left = workArea.left + (workArea.right - workArea.left - client.width) / 2;
        const int top = workArea.top + (workArea.bottom - workArea.top - client.height) / 2;
        rect = {left, top, left + client.width, top + client.height};
    }
    return rect;
}

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

FittedWindow fitInWorkArea(const RECT& designed, const RECT& workArea, int mostHeightCut) {
    const long width = designed.right - designed.left;
    long height = designed.bottom - designed.top;
    const long workHeight = workArea.bottom - workArea.top;
    int cut = 0;
    if (height > workHeight) {
        cut = static_cast<int>(std::min<long>(height - workHeight, std::max(mostHeightCut, 0)));
        height -= cut;
    }
    const long left = placeWithin(designed.left, width, workArea.left, workArea.right);
    const long top = placeWithin(designed.top, height, workArea.top, workArea.bottom);
    return {{left, top, left + width, top + height}, cut};
}

FittedWindow takeSuggested(const RECT& suggested, const RECT& designedFrame, int mostHeightCut) {
    const long shorter =
        (designedFrame.bottom - designedFrame.top) - (suggested.bottom - suggested.top);
    return {suggested, static_cast<int>(std::clamp<long>(shorter, 0, std::max(mostHeightCut, 0)))};
}

bool givesWay(const layout::WindowLayout& window, const layout::Control& control) {
    const layout::Control* browser = browserOf(window);
    // The browser's chain of frames, bounded against a cycle in a table.
    for (std::size_t depth = 0; browser != nullptr && depth <= window.controls.size(); ++depth) {
        if (browser == &control)
            return true;
        browser = browser->parent.empty() ? nullptr : window.find(browser->parent);
    }
    return false;
}

int mostHeightCut(const layout::WindowLayout& window, int dpi) {
    const layout::Control* browser = browserOf(window);
    if (browser == nullptr)
        return 0;
    const int height = layout::toPixels(browser->place, dpi).height;
    return height - height / 4;
}

} // namespace quorvin::win32forms
