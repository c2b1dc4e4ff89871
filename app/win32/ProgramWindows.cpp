#include "ProgramWindows.h"

#include "platform/windows/Com.h"
#include "platform/windows/System.h"

namespace quorvin::win32app {

using quorvin::app::Window;
using win32forms::Dialog;
using win32forms::Form1;
using win32forms::frmSplash;

ProgramWindows::ProgramWindows(Form1Factory makeForm1)
    : makeForm1_(std::move(makeForm1)) {}

ProgramWindows::~ProgramWindows() {
    // The windows go with their objects; no handler runs for them any more.
    for (win32forms::LayoutWindow* each :
         {window(Window::Splash), window(Window::Dialog), window(Window::Form1)})
        if (each != nullptr)
            each->onUnloaded = nullptr;
}

void ProgramWindows::start() {
    sequence_.start();
}

win32forms::LayoutWindow::ErrorSink ProgramWindows::errorSink() {
    return [this](const std::function<void()>& handler) { return sequence_.guard(handler); };
}

win32forms::LayoutWindow* ProgramWindows::window(Window which) const {
    switch (which) {
    case Window::Dialog:
        return dialog_.get();
    case Window::Splash:
        return splash_.get();
    case Window::Form1:
        return form1_.get();
    }
    return nullptr;
}

void ProgramWindows::makeForm1() {
    if (form1_)
        return;
    form1_ = makeForm1_(errorSink());
    form1_->onUnloaded = [this] { sequence_.windowUnloaded(Window::Form1); };
}

void ProgramWindows::show(Window which) {
    switch (which) {
    case Window::Dialog:
        if (!dialog_) {
            dialog_ =
                std::make_unique<Dialog>(Dialog::Actions{[this] { sequence_.okClicked(); },
                                                         [this] { sequence_.cancelClicked(); }},
                                         errorSink());
            dialog_->onUnloaded = [this] { sequence_.windowUnloaded(Window::Dialog); };
        }
        dialog_->show();
        return;
    case Window::Splash:
        if (!splash_) {
            splash_ = std::make_unique<frmSplash>(
                frmSplash::Events{[this] { sequence_.splashTick(); },
                                  [this] { sequence_.splashPainted(); },
                                  [this] { sequence_.splashCharacter(); }},
                errorSink());
            splash_->onUnloaded = [this] { sequence_.windowUnloaded(Window::Splash); };
        }
        splash_->show();
        return;
    case Window::Form1:
        makeForm1();
        form1_->show();
        return;
    }
}

void ProgramWindows::unload(Window which) {
    // The objects stay until the program ends: a handler may still be running in one of them.
    if (win32forms::LayoutWindow* each = window(which))
        each->unload();
}

bool ProgramWindows::isLoaded(Window which) const {
    const win32forms::LayoutWindow* each = window(which);
    return each != nullptr && each->isLoaded();
}

quorvin::ScanValue ProgramWindows::scan() {
    makeForm1();
    return form1_->results().getQuorvin();
}

void ProgramWindows::paintNow(Window which) {
    if (which == Window::Splash && splash_)
        splash_->paintNow();
}

void ProgramWindows::hideAll() {
    if (splash_)
        splash_->stopTimer();
    for (win32forms::LayoutWindow* each :
         {window(Window::Splash), window(Window::Dialog), window(Window::Form1)})
        if (each != nullptr && each->hwnd() != nullptr)
            ShowWindow(each->hwnd(), SW_HIDE);
}

void ProgramWindows::showMessage(const std::string& text) {
    quorvin::windows::showErrorMessage(nullptr, quorvin::windows::toWide(text),
                                       quorvin::windows::toWide(quorvin::layout::programTitle));
}

void ProgramWindows::endProgram(int exitCode) {
    PostQuitMessage(exitCode);
}

std::uint64_t ProgramWindows::milliseconds() const {
    return GetTickCount64();
}

bool ProgramWindows::preTranslateMessage(MSG& message) {
    if (sequence_.ended() || message.hwnd == nullptr)
        return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    for (win32forms::LayoutWindow* each :
         {window(Window::Dialog), window(Window::Splash), window(Window::Form1)})
        if (each != nullptr && each->hwnd() != nullptr && each->hwnd() == root) {
            // Keys are handlers too: an error in one takes the error path, not the loop's exit.
            bool handled = false;
            sequence_.guard([&] { handled = each->preTranslateMessage(message); });
            return handled;
        }
    return false;
}

} // namespace quorvin::win32app
