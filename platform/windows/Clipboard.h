#pragma once

#include <windows.h>

#include <string_view>

namespace quorvin::windows {

// Empties the clipboard and puts the text on it as CF_UNICODETEXT, line breaks as they are
// (CR LF stays CR LF). The owner is the window asking. Throws Win32Error when it cannot.
void putClipboardText(HWND owner, std::wstring_view text);

} // namespace quorvin::windows
