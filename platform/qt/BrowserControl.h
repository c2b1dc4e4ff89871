#pragma once

#include <QWidget>

#include <string>

namespace quorvin::qt {

// The embedded browser in the place of WB: starts without a page and takes one request to
// navigate, returning at once.
class BrowserControl : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // Throws std::invalid_argument when the address is not a valid URL.
    virtual void navigate(const std::string& address) = 0;
    // The address last asked for; empty before the first request.
    virtual QString address() const = 0;

signals:
    // The widgets inside that take the focus have changed; the window puts them back into its
    // tab order.
    void focusWidgetsChanged();
    // No program of the user's could be started for the address (fully encoded), which the user
    // asked to open outside the program; the window says so.
    void addressNotOpened(const QString& address);
    // The page asks to open the address outside its frame (a new window, a download), a click or
    // key of the user's asking for it or not; the window decides whether it leaves.
    void leaveRequested(const QUrl& address, bool userAsked);

public:
    // Hands the address to the user's own browser or mail program (QDesktopServices); reports
    // addressNotOpened when none can be started.
    void openInUsersProgram(const QUrl& address);
};

// The web-engine view where the build has one, otherwise a link that opens the system browser.
BrowserControl* makeBrowserControl(QWidget* parent);

// Keeps the program from starting any web engine: from then on makeBrowserControl makes the link,
// with the reason as one plain line above it, and warmUpBrowserControl starts nothing. Called by
// the program before its first window, where an engine must not run (as root, where the engine
// would run without its sandbox); widget tests leave it alone and keep their engine.
void refuseWebEngine(const QString& reason);
// The reason given to refuseWebEngine; empty while an engine may run.
QString webEngineRefusal();

// Starts, out of sight, the parts of the browser control that take long to start the first time
// (the web engine's processes and drawing context), so that the results window opens quickly.
// Loads no page and sends nothing; where the control has nothing slow to start, does nothing.
// What it starts lives no longer than the owner.
void warmUpBrowserControl(QObject* owner);

// Checks the text is an absolute, valid URL; throws std::invalid_argument otherwise.
QUrl browsableUrl(const std::string& address);

} // namespace quorvin::qt
