#include "WebEngineBrowser.h"

#include "FirstPaint.h"
#include "StartupTrace.h"
#include "WebEngineLoader.h"

#include <QEvent>
#include <QUrl>

namespace quorvin::qt {

void warmUpWebEngine(QObject* owner) {
    if (const WebEngineModule* engine = webEngineModule())
        engine->warmUp(owner);
}

WebEngineBrowser::WebEngineBrowser(QWidget* parent)
    : LinkFallbackBrowser(parent)
    , engine_(webEngineModule()) {
    if (engine_ == nullptr)
        return; // the link stands in the page's place
    // The view turns the window into one drawn with OpenGL, whose first frame takes a moment: a
    // blank stands in its place until the window has first appeared.
    // It takes the focus in the tab order as the view will, and hands it on.
    auto* blank = new QWidget(this);
    blank->setFocusPolicy(Qt::StrongFocus);
    showEngine(blank);
    afterFirstPaint(window(), [this, blank] {
        view_ = engine_->createView(this, this, "pageProcessDied");
        if (!pending_.isEmpty())
            engine_->load(view_, pending_);
        const bool hadFocus = blank->hasFocus();
        showEngine(view_);
        if (hadFocus)
            view_->setFocus();
        // The engine makes the widget that takes the view's focus only once a page starts, and
        // Qt puts it at the end of the window's tab order.
        view_->installEventFilter(this);
        emit focusWidgetsChanged();
        startup_trace::mark("store-view-shown");
    });
}

void WebEngineBrowser::pageProcessDied() {
    fallBackToLink();
}

bool WebEngineBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::ChildAdded)
        QMetaObject::invokeMethod(this, &BrowserControl::focusWidgetsChanged, Qt::QueuedConnection);
    return LinkFallbackBrowser::eventFilter(watched, event);
}

void WebEngineBrowser::navigate(const std::string& address) {
    // Loads in the background; the scan does not wait for the page.
    const QUrl url = acceptAddress(address);
    if (view_ != nullptr)
        engine_->load(view_, url);
    else
        pending_ = url; // loaded as soon as the view exists
}

} // namespace quorvin::qt
