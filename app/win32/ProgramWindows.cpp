#include "ProgramWindows.h"

#include "platform/windows/MessageBox.h"
#include "platform/windows/WideText.h"

using quorvin::win32::Dialog;
using quorvin::win32::Form1;
using quorvin::win32::frmSplash;

ProgramWindows::ProgramWindows(Form1Factory makeForm1)
    : makeForm1_(std::move(makeForm1)) {}

ProgramWindows::~ProgramWindows() {
    ended_ = true;
    closeAll();
}

void ProgramWindows::start() {
    dialog_ = std::make_unique<Dialog>(
        Dialog::Actions{[this] { showSplash(); },
                        // Cancel ends the program at once: no other handler runs, no window stays.
                        [this] { end(0); }});
    dialog_->onUnloaded = [this] { endIfNoWindowLoaded(); };
    dialog_->show();
}

void ProgramWindows::showSplash() {
    if (!splash_) {
        splash_ = std::make_unique<frmSplash>([this] { tick(); });
        splash_->onUnloaded = [this] { endIfNoWindowLoaded(); };
    }
    // The splash is shown before the disclaimer goes, so the program never stands without a
    // loaded window.
    splash_->show();
    if (dialog_)
        dialog_->unload();
}

void ProgramWindows::tick() {
    if (!form1_) {
        form1_ = makeForm1_();
        form1_->onUnloaded = [this] { endIfNoWindowLoaded(); };
    }
    const quorvin::ScanValue result = form1_->getQuorvin();
    if (ended_ || !(result.isText() && result.asText() == "Success"))
        return;
    // Form1 is shown, and so activated, before the splash goes, within this one handler and with
    // nothing drawn in between: with no window of the program active for a moment, Windows would
    // activate another program's and open Form1 behind it.
    form1_->show();
    splash_->unload();
}

void ProgramWindows::endIfNoWindowLoaded() {
    if (ended_)
        return;
    const bool loaded = (dialog_ && dialog_->isLoaded()) || (splash_ && splash_->isLoaded()) ||
                        (form1_ && form1_->windowLoaded());
    if (!loaded)
        end(0);
}

bool ProgramWindows::preTranslateMessage(MSG& message) {
    if (ended_ || message.hwnd == nullptr)
        return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    for (quorvin::win32::LayoutWindow* window :
         {static_cast<quorvin::win32::LayoutWindow*>(dialog_.get()),
          static_cast<quorvin::win32::LayoutWindow*>(splash_.get()),
          static_cast<quorvin::win32::LayoutWindow*>(form1_.get())})
        if (window != nullptr && window->hwnd() != nullptr && window->hwnd() == root)
            return window->preTranslateMessage(message);
    return false;
}

void ProgramWindows::fail(const std::string& message) {
    if (ended_)
        return;
    ended_ = true;
    // No window stays behind the message, and no timer scans again while it is up.
    closeAll();
    quorvin::windows::showPlainMessage(
        nullptr, quorvin::windows::toWide(message.substr(0, failureMessageLimit)),
        quorvin::windows::toWide(quorvin::layout::programTitle));
    PostQuitMessage(1);
}

void ProgramWindows::end(int exitCode) {
    ended_ = true;
    closeAll();
    PostQuitMessage(exitCode);
}

void ProgramWindows::closeAll() {
    // The objects stay until the program ends: a handler may still be running in one of them.
    for (quorvin::win32::LayoutWindow* window :
         {static_cast<quorvin::win32::LayoutWindow*>(splash_.get()),
          static_cast<quorvin::win32::LayoutWindow*>(dialog_.get()),
          static_cast<quorvin::win32::LayoutWindow*>(form1_.get())})
        if (window != nullptr)
            window->unload();
}
