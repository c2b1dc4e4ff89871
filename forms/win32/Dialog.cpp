#include "Dialog.h"

#include "forms/DisclaimerText.h"
#include "platform/windows/WideText.h"

namespace quorvin::win32 {

Dialog::Dialog(Actions actions)
    : LayoutWindow(layout::dialogLayout())
    , actions_(std::move(actions)) {}

void Dialog::afterLoad() {
    // The text is put in when the window loads.
    SetWindowTextW(control("Text1"), windows::toWide(layout::disclaimerText()).c_str());
}

void Dialog::onCommand(const layout::Control& control, HWND, int code) {
    if (code != BN_CLICKED)
        return;
    if (control.name == "OKButton" && actions_.ok)
        actions_.ok();
    else if (control.name == "CancelButton" && actions_.cancel)
        actions_.cancel();
}

} // namespace quorvin::win32
