#pragma once

#include <windows.h>

#include <chrono>
#include <string_view>

namespace quorvin::windows {

// One try at emptying the clipboard and putting the text on it as CF_UNICODETEXT, line breaks as
// they are (CR LF stays CR LF). The owner is the window asking. False when another program holds
// the clipboard open; throws Win32Error for any other failure.
bool putClipboardText(HWND owner, std::wstring_view text);

// Waits for the pause between two tries while answering what other threads and programs send
// this thread's windows: a program that empties the clipboard we own waits for our
// WM_DESTROYCLIPBOARD answer, and would otherwise hold the clipboard for the whole pause.
// Posted messages, input included, stay queued.
void waitAnsweringSentMessages(std::chrono::milliseconds pause);

} // namespace quorvin::windows
