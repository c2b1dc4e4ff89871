#pragma once

#include "LayoutWindow.h"

#include <functional>

namespace quorvin::win32forms {

// The scanning splash: its timer ticks every 10 ms from its load. What a tick, the first paint and
// a key that produces a character (WM_CHAR) do is the window sequence's.
class frmSplash : public LayoutWindow {
public:
    struct Events {
        std::function<void()> tick;
        std::function<void()> painted;
        std::function<void()> character;
    };
    frmSplash(Events events, ErrorSink errors);

    // Draws the splash whole, its captions too, at once.
    void paintNow();
    // Stops the timer before the window goes (for an error's message).
    void stopTimer();

private:
    void afterLoad() override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool preTranslateMessage(MSG&) override { return false; }

    Events events_;
};

} // namespace quorvin::win32forms
