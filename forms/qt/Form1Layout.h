#pragma once

#include <QRect>

// The window is laid out in twips; at 15 twips per device-independent pixel Qt's high-DPI scaling
// keeps the proportions on every screen.
namespace form1 {

inline constexpr int twipsPerPixel = 15;

constexpr int px(int twips) {
    if (twips % twipsPerPixel != 0)
        throw "layout positions must be whole pixels";
    return twips / twipsPerPixel;
}

constexpr QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

inline constexpr int labelHeight = 255;
inline constexpr int captionLeft = 240;
inline constexpr int valueLeft = 1560;

} // namespace form1
