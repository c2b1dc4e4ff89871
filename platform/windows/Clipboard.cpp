#include "Clipboard.h"

#include "Win32Error.h"

#include <cstring>

namespace quorvin::windows {

namespace {

// Closes the clipboard however the copy ends.
struct ClipboardClose {
    ~ClipboardClose() { CloseClipboard(); }
};

} // namespace

bool putClipboardText(HWND owner, std::wstring_view text) {
    if (!OpenClipboard(owner))
        return false;
    const ClipboardClose close;
    if (!EmptyClipboard())
        throwLastError("Emptying the clipboard");
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr)
        throwLastError("Making room for the clipboard text");
    auto* target = static_cast<wchar_t*>(GlobalLock(memory));
    if (target == nullptr) {
        GlobalFree(memory);
        throwLastError("Filling the clipboard text");
    }
    std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
    target[text.size()] = L'\0';
    GlobalUnlock(memory);
    // From here on the clipboard owns the memory.
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
        throwLastError("Putting the text on the clipboard");
    }
    return true;
}

} // namespace quorvin::windows
