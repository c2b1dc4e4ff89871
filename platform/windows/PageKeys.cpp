#include "PageKeys.h"

namespace quorvin::windows {

bool leavesTheStorePage(const MSG& message, KeyModifiers modifiers) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    if (!modifiers.control || modifiers.alt)
        return false;
    return message.wParam == 'N' || message.wParam == 'O' || message.wParam == 'L';
}

PageKey routePageKey(IOleInPlaceActiveObject* page, MSG& message, KeyModifiers modifiers) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return PageKey::Dispatch;
    if (leavesTheStorePage(message, modifiers))
        return PageKey::Refused;
    // S_OK: the page used the key; S_FALSE or a failure: it did not.
    if (page != nullptr && page->TranslateAccelerator(&message) == S_OK)
        return PageKey::UsedByPage;
    const bool tab = message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
                     !modifiers.control && !modifiers.alt;
    if (tab)
        return modifiers.shift ? PageKey::LeaveBackward : PageKey::LeaveForward;
    return PageKey::Dispatch;
}

KeyModifiers currentModifiers() {
    return {GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0};
}

} // namespace quorvin::windows
