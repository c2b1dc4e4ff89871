#include "ProgramWindows.h"

#include "forms/WindowLayout.h"
#include "platform/qt/Browser.h"
#include "platform/qt/System.h"
#include "platform/qt/Widgets.h"

#include <QElapsedTimer>
#include <QTimer>

namespace quorvin::qtapp {

using quorvin::app::Window;

namespace {

// Hidden now, destroyed once the handler that asked for it has run to its end.
void unloadLater(QWidget* window) {
    window->hide();
    window->deleteLater();
}

} // namespace

ProgramWindows::ProgramWindows(Form1Factory makeForm1, ScanCall scan)
    : makeForm1_(std::move(makeForm1))
    , scan_(scan ? std::move(scan)
                 : ScanCall([](qtforms::Form1& form) { return form.results().getQuorvin(); })) {}

ProgramWindows::~ProgramWindows() {
    for (QWidget* window : {static_cast<QWidget*>(splash_), static_cast<QWidget*>(dialog_)})
        if (window != nullptr) {
            window->disconnect(this);
            delete window;
        }
    if (form1_)
        form1_->disconnect(this);
}

void ProgramWindows::start() {
    sequence_.start();
}

void ProgramWindows::makeForm1() {
    if (form1_)
        return;
    form1_ = makeForm1_();
    connect(form1_.get(), &qtforms::Form1::unloaded, this, [this] {
        // Deleted later: the close event that reports it is still running in it.
        form1_->disconnect(this);
        form1_.release()->deleteLater();
        sequence_.windowUnloaded(Window::Form1);
    });
}

void ProgramWindows::show(Window window) {
    switch (window) {
    case Window::Dialog:
        if (!dialog_) {
            dialog_ = new qtforms::Dialog;
            connect(dialog_, &qtforms::Dialog::accepted, this, [this] {
                quorvin::qt::markStartup("ok");
                sequence_.okClicked();
            });
            connect(dialog_, &qtforms::Dialog::cancelled, this,
                    [this] { sequence_.cancelClicked(); });
            connect(dialog_, &qtforms::Dialog::unloaded, this, [this] {
                dialog_ = nullptr;
                sequence_.windowUnloaded(Window::Dialog);
            });
            // While the disclaimer is read, the browser control's engine starts; nothing is read
            // from the machine or sent before OK.
            quorvin::qt::afterFirstPaint(dialog_, [this] {
                quorvin::qt::markStartup("disclaimer-painted");
                quorvin::qt::warmUpBrowserControl(this);
            });
        }
        dialog_->show();
        return;
    case Window::Splash:
        if (!splash_) {
            splash_ = new qtforms::frmSplash;
            connect(splash_, &qtforms::frmSplash::ticked, this, [this] { sequence_.splashTick(); });
            connect(splash_, &qtforms::frmSplash::painted, this,
                    [this] { sequence_.splashPainted(); });
            connect(splash_, &qtforms::frmSplash::character, this,
                    [this] { sequence_.splashCharacter(); });
            connect(splash_, &qtforms::frmSplash::unloaded, this, [this] {
                splash_ = nullptr;
                sequence_.windowUnloaded(Window::Splash);
            });
        }
        splash_->show();
        return;
    case Window::Form1:
        makeForm1();
        form1Drawn_ = false;
        quorvin::qt::afterFirstPaint(form1_.get(), [this] {
            quorvin::qt::markStartup("results-painted");
            form1Drawn_ = true;
            if (splashWaitsForForm1_)
                closeSplash();
        });
        form1_->show();
        return;
    }
}

void ProgramWindows::unload(Window window) {
    switch (window) {
    case Window::Dialog:
        if (dialog_)
            dialog_->close();
        return;
    case Window::Splash:
        if (splash_) {
            splash_->timer1()->stop();
            // The splash stays on the screen until the results window behind it is drawn, so
            // that the screen never shows the program's windows undrawn or none of them; at
            // most a moment more where that window never draws (minimised at once).
            if (form1_ && form1_->isVisible() && !form1Drawn_) {
                splashWaitsForForm1_ = true;
                QTimer::singleShot(splashWaitMilliseconds, splash_, [this] { closeSplash(); });
                return;
            }
            closeSplash();
        }
        return;
    case Window::Form1:
        if (form1_ && form1_->results().isLoaded())
            form1_->close();
        return;
    }
}

void ProgramWindows::closeSplash() {
    splashWaitsForForm1_ = false;
    if (splash_)
        splash_->close();
}

bool ProgramWindows::isLoaded(Window window) const {
    switch (window) {
    case Window::Dialog:
        return dialog_ != nullptr;
    case Window::Splash:
        return splash_ != nullptr;
    case Window::Form1:
        return form1_ && form1_->results().isLoaded();
    }
    return false;
}

quorvin::ScanValue ProgramWindows::scan() {
    makeForm1();
    const quorvin::ScanValue result = scan_(*form1_);
    quorvin::qt::markStartup("scan-done");
    return result;
}

void ProgramWindows::paintNow(Window window) {
    if (window == Window::Splash && splash_)
        splash_->repaint();
}

void ProgramWindows::hideAll() {
    if (splash_) {
        splash_->timer1()->stop();
        splash_->hide();
    }
    if (dialog_)
        dialog_->hide();
    if (form1_)
        form1_->hide();
}

void ProgramWindows::showMessage(const std::string& text) {
    quorvin::qt::showErrorMessage(nullptr, quorvin::layout::programTitle, text);
}

void ProgramWindows::endProgram(int exitCode) {
    // The windows the sequence unloaded are gone once their handlers have run to their end.
    for (QWidget* window : {static_cast<QWidget*>(splash_), static_cast<QWidget*>(dialog_)})
        if (window != nullptr) {
            window->disconnect(this);
            unloadLater(window);
        }
    splash_ = nullptr;
    dialog_ = nullptr;
    if (form1_) {
        form1_->disconnect(this);
        unloadLater(form1_.release());
    }
    emit finished(exitCode);
}

std::uint64_t ProgramWindows::milliseconds() const {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return static_cast<std::uint64_t>(clock.elapsed());
}

} // namespace quorvin::qtapp
