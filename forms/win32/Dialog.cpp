#include "Dialog.h"

#include "forms/WindowLayout.h"
#include "platform/windows/Com.h"

namespace quorvin::win32forms {

Dialog::Dialog(Actions actions, ErrorSink errors)
    : LayoutWindow(layout::dialogLayout(), std::move(errors))
    , actions_(std::move(actions)) {}

void Dialog::afterLoad() {
    // The text is put in when the window loads.
    SetWindowTextW(control(layout().only(layout::Role::Disclaimer).name),
                   windows::toWide(layout::disclaimerText()).c_str());
}

void Dialog::onCommand(const layout::Control& control, HWND, int code) {
    if (code != BN_CLICKED)
        return;
    if (control.role == layout::Role::AcceptButton && actions_.ok)
        actions_.ok();
    else if (control.role == layout::Role::CancelButton && actions_.cancel)
        actions_.cancel();
}

} // namespace quorvin::win32forms
