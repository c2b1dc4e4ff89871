#include "WindowFit.h"

#include <algorithm>

namespace quorvin::win32forms {

namespace {

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
