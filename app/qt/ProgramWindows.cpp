#include "ProgramWindows.h"

#include "forms/WindowLayout.h"
#include "forms/qt/Dialog.h"
#include "forms/qt/Form1.h"
#include "forms/qt/frmSplash.h"
#include "platform/qt/BrowserControl.h"
#include "platform/qt/FirstPaint.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/StartupTrace.h"

#include <QApplication>
#include <QTimer>

ProgramWindows::ProgramWindows(Form1Factory makeForm1, ScanCall scan)
    : makeForm1_(std::move(makeForm1))
    , scan_(scan ? std::move(scan) : ScanCall([](Form1& form) { return form.getQuorvin(); })) {}

ProgramWindows::~ProgramWindows() {
    closeAll();
}

void ProgramWindows::start() {
    guarded([this] {
        dialog_ = new Dialog;
        connect(dialog_, &Dialog::accepted, this, [this] {
            startup_trace::mark("ok");
            guarded([this] { showSplash(); });
        });
        connect(dialog_, &Dialog::cancelled, this, [this] {
            // Cancel ends the program at once: no other handler runs, no window stays.
            ended_ = true;
            closeAll();
            emit finished(0);
        });
        connect(dialog_, &Dialog::unloaded, this, [this] {
            dialog_ = nullptr;
            endIfNoWindowLoaded();
        });
        // While the disclaimer is read, the browser control's engine starts; nothing is read
        // from the machine or sent before OK.
        quorvin::qt::afterFirstPaint(dialog_, [this] {
            startup_trace::mark("disclaimer-painted");
            quorvin::qt::warmUpBrowserControl(this);
        });
        dialog_->show();
    });
}

void ProgramWindows::showSplash() {
    if (!splash_) {
        splash_ = new frmSplash(frmSplash::Scan{[this] { return scanFromSplash(); },
                                                [this] { guarded([this] { showResults(); }); }});
        connect(splash_, &frmSplash::unloaded, this, [this] {
            splash_ = nullptr;
            endIfNoWindowLoaded();
        });
    }
    // The splash is loaded and shown before the disclaimer goes, so the program never stands
    // without a loaded window.
    splash_->show();
    if (dialog_)
        dialog_->close();
}

quorvin::ScanValue ProgramWindows::scanFromSplash() {
    quorvin::ScanValue result;
    guarded([&] {
        if (!form1_) {
            form1_ = makeForm1_();
            ++form1Created_;
            connect(form1_.get(), &Form1::unloaded, this, [this] {
                // Deleted later: the close event that reports it is still running in it.
                form1_.release()->deleteLater();
                endIfNoWindowLoaded();
            });
        }
        result = scan_(*form1_);
        startup_trace::mark("scan-done");
    });
    return result;
}

void ProgramWindows::showResults() {
    if (!form1_)
        return;
    quorvin::qt::afterFirstPaint(form1_.get(), [] { startup_trace::mark("results-painted"); });
    form1_->show();
}

void ProgramWindows::endIfNoWindowLoaded() {
    if (ended_)
        return;
    const bool form1Loaded = form1_ && form1_->isLoaded();
    if (!dialog_ && !splash_ && !form1Loaded) {
        ended_ = true;
        emit finished(0);
    }
}

void ProgramWindows::guarded(const std::function<void()>& handler) {
    if (ended_)
        return;
    try {
        handler();
    } catch (const std::exception& error) {
        fail(QString::fromUtf8(error.what()));
    } catch (...) {
        fail(QStringLiteral("An unexpected error ended the program."));
    }
}

void ProgramWindows::reportError(const std::string& message) {
    if (!ended_)
        fail(QString::fromStdString(message));
}

void ProgramWindows::fail(const QString& message) {
    ended_ = true;
    // No window stays behind the message, and no timer scans again while it is up. They are
    // destroyed only after it: the message's own event loop would destroy them at once, under
    // the event handling that failed.
    hideAll();
    quorvin::qt::showPlainMessage(nullptr, quorvin::layout::programTitle, message.toStdString());
    closeAll();
    emit finished(1);
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

void ProgramWindows::closeAll() {
    // Hidden now, destroyed once the handler that asked for it has run to its end.
    const auto unload = [this](QWidget* window) {
        window->disconnect(this);
        window->hide();
        window->deleteLater();
    };
    if (splash_) {
        splash_->timer1()->stop();
        unload(splash_);
    }
    if (dialog_)
        unload(dialog_);
    if (form1_)
        unload(form1_.release());
    splash_ = nullptr;
    dialog_ = nullptr;
}
