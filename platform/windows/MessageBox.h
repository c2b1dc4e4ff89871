#pragma once

#include <windows.h>

#include <string_view>

namespace quorvin::windows {

// A message box with the text, an OK button only, no icon and the given title; returns when it
// is closed.
void showPlainMessage(HWND owner, std::wstring_view text, std::wstring_view title);

} // namespace quorvin::windows
