#include "frmSplash.h"

#include "platform/windows/Win32Error.h"

namespace quorvin::win32 {

namespace {
constexpr UINT_PTR timer1 = 1;
}

frmSplash::frmSplash(std::function<void()> tick)
    : LayoutWindow(layout::splashLayout())
    , tick_(std::move(tick)) {}

void frmSplash::afterLoad() {
    loadedAt_ = GetTickCount64();
    if (SetTimer(hwnd(), timer1, layout::splashTimerMilliseconds, nullptr) == 0)
        windows::throwLastError("Starting the splash's timer");
}

LRESULT frmSplash::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        painted_ = true;
        break;
    case WM_TIMER:
        if (wParam != timer1 || ticking_)
            return 0;
        if (!painted_ && GetTickCount64() - loadedAt_ < splashPaintWaitMilliseconds)
            return 0;
        {
            // The scan holds the thread: everything on the splash, the captions too, is drawn
            // now, not when their own paint messages would have come.
            if (!drawnForScan_) {
                RedrawWindow(hwnd(), nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                GdiFlush();
                drawnForScan_ = true;
            }
            ticking_ = true;
            struct Reset {
                bool& flag;
                ~Reset() { flag = false; }
            } reset{ticking_};
            if (tick_)
                tick_();
        }
        return 0;
    case WM_CHAR:
        unload();
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), timer1);
        break;
    default:
        break;
    }
    return LayoutWindow::handleMessage(message, wParam, lParam);
}

} // namespace quorvin::win32
