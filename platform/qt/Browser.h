#pragma once

#include <QWidget>

#include <string>

class QLabel;
class QStackedLayout;
class QUrl;

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

// Stands in for the embedded browser where there is no web engine: shows the store page's
// address as a link that the system browser opens, under a plain line saying why when given one.
class LinkBrowser : public BrowserControl {
    Q_OBJECT
public:
    explicit LinkBrowser(QWidget* parent = nullptr, const QString& reason = {});
    // The line above the link; empty when there is none.
    QString reason() const;
    void navigate(const std::string& address) override;
    QString address() const override;

private:
    QLabel* reason_ = nullptr;
    QLabel* link_;
    QString address_;
};

// A browser that shows the page in an engine of its own and, where the engine cannot be made or
// dies, the page's address as a link in the same place.
class LinkFallbackBrowser : public BrowserControl {
    Q_OBJECT
public:
    QString address() const override;
    bool showsLink() const;
    // Whether the keyboard focus is in the frame or anywhere in the page; the frame then draws its
    // focus ring, focusRingWidth pixels wide, around the page.
    bool hasFocusInside() const;
    static constexpr int focusRingWidth = 2;

protected:
    explicit LinkFallbackBrowser(QWidget* parent);
    // Shows the engine's widget and lets it take the focus; until then the link stands there.
    void showEngine(QWidget* engine);
    // Puts the link in the engine's place, keeping the focus if the engine had it.
    void fallBackToLink();
    // Checks the address, keeps it and hands it to the link; the engine loads the URL returned.
    // Throws std::invalid_argument when the address is not a valid URL.
    QUrl acceptAddress(const std::string& address);
    void paintEvent(QPaintEvent* event) override;

private:
    bool holds(const QWidget* widget) const;

    QStackedLayout* stack_;
    LinkBrowser* link_;
    QString address_;
};

#if defined(QUORVIN_WITH_WEBENGINE)
struct WebEngineModule;

// The store page in a Qt WebEngine view from the web-engine module (WebEngineModule.h). Where
// the module cannot be loaded, or the engine's page process dies before showing anything, the
// place shows the address as a link instead. An address the page asks to open outside its frame
// is handed to the window (leaveRequested), which decides where it goes.
class WebEngineBrowser : public LinkFallbackBrowser {
    Q_OBJECT
public:
    explicit WebEngineBrowser(QWidget* parent = nullptr);
    void navigate(const std::string& address) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void pageProcessDied();
    // Gives the engine's focus widgets the browser's accessible name (set before the first
    // navigation).
    void nameFocusWidgets();

private:
    const WebEngineModule* engine_;
    QWidget* view_ = nullptr;
    QWidget* blank_ = nullptr; // holds the view's place until the window's first paint
};
#endif

} // namespace quorvin::qt
