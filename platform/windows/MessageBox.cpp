#include "MessageBox.h"

#include <string>

namespace quorvin::windows {

void showPlainMessage(HWND owner, std::wstring_view text, std::wstring_view title) {
    const std::wstring textCopy(text);
    const std::wstring titleCopy(title);
    MessageBoxW(owner, textCopy.c_str(), titleCopy.c_str(), MB_OK | MB_SETFOREGROUND);
}

} // namespace quorvin::windows
