#pragma once

#include "LinkFallbackBrowser.h"

namespace quorvin::qt {

struct WebEngineModule;

// The store page in a Qt WebEngine view from the web-engine module. Where the module cannot be
// loaded, or the engine's page process dies before showing anything, the place shows the
// address as a link instead. An address the page asks to open outside its frame is handed to the
// window (leaveRequested), which decides where it goes.
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

// Starts the engine early (see warmUpBrowserControl); nothing when the module cannot be loaded.
void warmUpWebEngine(QObject* owner);

} // namespace quorvin::qt
