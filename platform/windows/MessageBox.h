#pragma once

#include <windows.h>

#include <string_view>

namespace quorvin::windows {

// A message box with the text, an OK button only, no icon and the given title; returns when it
// is closed. It is at least as wide as its title needs.
void showPlainMessage(HWND owner, std::wstring_view text, std::wstring_view title);

// The same with the error icon: the box that reports an error ending the program.
void showErrorMessage(HWND owner, std::wstring_view text, std::wstring_view title);

} // namespace quorvin::windows
