#pragma once

#include "LayoutWindow.h"

#include <functional>

namespace quorvin::win32 {

// The scanning splash. Its timer ticks every 10 ms from its load; a tick does nothing until the
// splash has been drawn (or a second has gone), so the scan never starts before the splash is
// on the screen, and a tick that falls due while one runs (a COM call may pump messages) does
// not run a second scan. Every key that produces a character (WM_CHAR) unloads it.
class frmSplash : public LayoutWindow {
public:
    explicit frmSplash(std::function<void()> tick);

private:
    void afterLoad() override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool preTranslateMessage(MSG&) override { return false; }

    std::function<void()> tick_;
    bool painted_ = false;
    bool ticking_ = false;
    bool drawnForScan_ = false;
    ULONGLONG loadedAt_ = 0;
};

// How long a tick waits for the splash's first paint before the scan starts anyway.
inline constexpr ULONGLONG splashPaintWaitMilliseconds = 1000;

} // namespace quorvin::win32
