#pragma once

#include <windows.h>

#include <string_view>

namespace quorvin::windows {

// One try at emptying the clipboard and putting the text on it as CF_UNICODETEXT, line breaks as
// they are (CR LF stays CR LF). The owner is the window asking. False when another program holds
// the clipboard open; throws Win32Error for any other failure.
bool putClipboardText(HWND owner, std::wstring_view text);

} // namespace quorvin::windows
