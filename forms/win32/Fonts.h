#pragma once

#include "forms/WindowLayout.h"

#include <windows.h>

#include <vector>

namespace quorvin::win32 {

// A font's character height in pixels at a DPI (the negative lfHeight): 8.25 pt is 11 pixels at
// 96 DPI, 22 at 192.
int fontPixelHeight(double points, int dpi);

// The GDI fonts of one window, made once per font and DPI and deleted with the set.
class FontSet {
public:
    FontSet() = default;
    ~FontSet();
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // Throws Win32Error when GDI cannot make the font.
    HFONT get(const layout::Font& font, int dpi);

private:
    struct Entry {
        layout::Font font;
        int dpi;
        HFONT handle;
    };
    std::vector<Entry> entries_;
};

} // namespace quorvin::win32
