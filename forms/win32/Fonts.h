#pragma once

#include "forms/WindowLayout.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace quorvin::win32forms {

// A font's character height in pixels at a DPI (the negative lfHeight): 8.25 pt is 11 pixels at
// 96 DPI, 22 at 192.
int fontPixelHeight(double points, int dpi);

// The face a font is made with at a DPI. MS Sans Serif is a bitmap font, which Windows scales by
// other bitmap sizes or doubled pixels; at every DPI but 96 its TrueType twin with the same
// metrics, Microsoft Sans Serif, draws crisp text instead.
std::wstring faceAt(std::string_view family, int dpi);

// How many pixels wide the text is in the font, as GDI measures it on the screen (the width a
// static control draws it in).
int textWidth(HFONT font, std::string_view text);

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

} // namespace quorvin::win32forms
