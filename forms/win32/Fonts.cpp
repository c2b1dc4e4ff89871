#include "Fonts.h"

#include "platform/windows/Com.h"
#include "platform/windows/System.h"

#include <cmath>

namespace quorvin::win32forms {

int fontPixelHeight(double points, int dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

std::wstring faceAt(std::string_view family, int dpi) {
    if (family == "MS Sans Serif" && dpi != USER_DEFAULT_SCREEN_DPI)
        return L"Microsoft Sans Serif";
    return windows::toWide(family);
}

int textWidth(HFONT font, std::string_view text) {
    const std::wstring wide = windows::toWide(text);
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    SIZE size{};
    const BOOL measured =
        GetTextExtentPoint32W(screen, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    if (!measured)
        windows::throwLastError("Measuring the text " + std::string(text));
    return size.cx;
}

FontSet::~FontSet() {
    for (const Entry& entry : entries_)
        DeleteObject(entry.handle);
}

HFONT FontSet::get(const layout::Font& font, int dpi) {
    for (const Entry& entry : entries_)
        if (entry.font == font && entry.dpi == dpi)
            return entry.handle;
    const std::wstring family = faceAt(font.family, dpi);
    const HFONT handle =
        CreateFontW(-fontPixelHeight(font.points, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                    FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, family.c_str());
    if (handle == nullptr)
        windows::throwLastError("Making the font " + std::string(font.family));
    entries_.push_back({font, dpi, handle});
    return handle;
}

} // namespace quorvin::win32forms
