#include "WebEngineBrowser.h"

#include "FirstPaint.h"
#include "QtText.h"
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
    // The view is made now, so that the window is made as one drawn with OpenGL (adding the view
    // later would make the window anew, and it would flicker), but shown only once the window has
    // first appeared: its own first showing takes a moment. Until then a blank holds its place
    // and its place in the tab order, and hands the focus on.
    // What the page asks to open outside its frame goes straight out as leaveRequested.
    view_ = engine_->createView(this, this, "pageProcessDied", "leaveRequested");
    view_->hide();
    auto* blank = new QWidget(this);
    blank->setFocusPolicy(Qt::StrongFocus);
    blank_ = blank;
    showEngine(blank);
    afterFirstPaint(window(), [this, blank] {
        const bool hadFocus = blank->hasFocus();
        showEngine(view_);
        if (hadFocus)
            view_->setFocus();
        quorvin::qt::markStartup("store-view-shown");
    });
    // The engine makes the widget that takes the view's focus only once a page starts, and Qt
    // puts it at the end of the window's tab order.
    view_->installEventFilter(this);
}

void WebEngineBrowser::pageProcessDied() {
    fallBackToLink();
}

bool WebEngineBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::ChildAdded) {
        QMetaObject::invokeMethod(this, &BrowserControl::focusWidgetsChanged, Qt::QueuedConnection);
        QMetaObject::invokeMethod(this, &WebEngineBrowser::nameFocusWidgets, Qt::QueuedConnection);
    }
    return LinkFallbackBrowser::eventFilter(watched, event);
}

void WebEngineBrowser::nameFocusWidgets() {
    // The engine's own focus widget has no name, and a screen reader meeting it announces
    // nothing (or the control it came from); it is named as the browser is.
    if (view_ == nullptr)
        return;
    const QString name = accessibleName();
    for (QWidget* widget : view_->findChildren<QWidget*>())
        if (widget->focusPolicy() != Qt::NoFocus)
            widget->setAccessibleName(name);
    for (QWidget* widget : {view_, blank_})
        if (widget != nullptr)
            widget->setAccessibleName(name);
}

void WebEngineBrowser::navigate(const std::string& address) {
    // Loads in the background; the scan does not wait for the page.
    const QUrl url = acceptAddress(address);
    nameFocusWidgets();
    if (view_ != nullptr)
        engine_->load(view_, url);
}

} // namespace quorvin::qt
