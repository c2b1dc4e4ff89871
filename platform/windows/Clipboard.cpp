#include "Clipboard.h"

#include "Win32Error.h"

#include <algorithm>
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

void waitAnsweringSentMessages(std::chrono::milliseconds pause) {
    const ULONGLONG until =
        GetTickCount64() + static_cast<ULONGLONG>(std::max<long long>(0, pause.count()));
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now),
                                  QS_SENDMESSAGE);
        // Peeking answers every message sent to this thread; it removes nothing from the queue.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace quorvin::windows
