#include "WebEngineBrowser.h"

#include <QEvent>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace quorvin::qt {

namespace {
QPointer<QWebEnginePage> warmPage;
}

void warmUpWebEngine(QObject* owner) {
    if (warmPage)
        return;
    // A page without a view starts the engine and a page process; it is never shown.
    warmPage = new QWebEnginePage(owner);
    warmPage->setUrl(QUrl(QStringLiteral("about:blank")));
}

WebEngineBrowser::WebEngineBrowser(QWidget* parent)
    : LinkFallbackBrowser(parent)
    , view_(new QWebEngineView(this)) {
    showEngine(view_);
    connect(view_->page(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    fallBackToLink();
            });
    // The engine makes the widget that takes the view's focus only once a page starts, and Qt
    // puts it at the end of the window's tab order.
    view_->installEventFilter(this);
    connect(view_, &QWebEngineView::loadFinished, this, [] {
        if (warmPage)
            warmPage->deleteLater();
    });
}

bool WebEngineBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::ChildAdded)
        QMetaObject::invokeMethod(this, &BrowserControl::focusWidgetsChanged, Qt::QueuedConnection);
    return LinkFallbackBrowser::eventFilter(watched, event);
}

void WebEngineBrowser::navigate(const std::string& address) {
    // Loads in the background; the scan does not wait for the page.
    view_->setUrl(acceptAddress(address));
}

} // namespace quorvin::qt
