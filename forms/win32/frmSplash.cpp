#include "frmSplash.h"

#include "platform/windows/System.h"

namespace quorvin::win32forms {

namespace {
constexpr UINT_PTR timer1 = 1;
}

frmSplash::frmSplash(Events events, ErrorSink errors)
    : LayoutWindow(layout::splashLayout(), std::move(errors))
    , events_(std::move(events)) {}

void frmSplash::afterLoad() {
    if (SetTimer(hwnd(), timer1, layout::splashTimerMilliseconds, nullptr) == 0)
        windows::throwLastError("Starting the splash's timer");
}

void frmSplash::paintNow() {
    if (!isLoaded())
        return;
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

void frmSplash::stopTimer() {
    if (isLoaded())
        KillTimer(hwnd(), timer1);
}

LRESULT frmSplash::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        if (events_.painted)
            events_.painted();
        break;
    case WM_TIMER:
        if (wParam == timer1 && events_.tick)
            events_.tick();
        return 0;
    case WM_CHAR:
        if (events_.character)
            events_.character();
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), timer1);
        break;
    default:
        break;
    }
    return LayoutWindow::handleMessage(message, wParam, lParam);
}

} // namespace quorvin::win32forms
