#pragma once

#include "LayoutWindow.h"

#include <functional>

namespace quorvin::win32forms {

// The disclaimer: the read-only text and OK and Cancel. Neither button is a default or cancel
// button: Enter and Esc in the text do nothing; a button is pressed by a click, or by Space or
// Enter while it has the focus.
class Dialog : public LayoutWindow {
public:
    struct Actions {
        std::function<void()> ok;
        std::function<void()> cancel;
    };
    Dialog(Actions actions, ErrorSink errors);

private:
    void afterLoad() override;
    void onCommand(const layout::Control& control, HWND window, int code) override;

    Actions actions_;
};

} // namespace quorvin::win32forms
