#include "WebEngineBrowser.h"

#include "LinkBrowser.h"

#include <QEvent>
#include <QStackedLayout>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace quorvin::qt {

WebEngineBrowser::WebEngineBrowser(QWidget* parent)
    : BrowserControl(parent)
    , stack_(new QStackedLayout(this))
    , view_(new QWebEngineView(this))
    , link_(new LinkBrowser(this)) {
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->addWidget(view_);
    stack_->addWidget(link_);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(view_);
    connect(view_->page(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    fallBackToLink();
            });
    // The engine makes the widget that takes the view's focus only once a page starts, and Qt
    // puts it at the end of the window's tab order.
    view_->installEventFilter(this);
}

bool WebEngineBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::ChildAdded)
        QMetaObject::invokeMethod(this, &BrowserControl::focusWidgetsChanged, Qt::QueuedConnection);
    return BrowserControl::eventFilter(watched, event);
}

void WebEngineBrowser::navigate(const std::string& address) {
    const QUrl url = browsableUrl(address);
    address_ = url.toString(QUrl::FullyEncoded);
    link_->navigate(address);
    view_->setUrl(url); // loads in the background; the scan does not wait for the page
}

QString WebEngineBrowser::address() const {
    return address_;
}

bool WebEngineBrowser::showsLink() const {
    return stack_->currentWidget() == link_;
}

void WebEngineBrowser::fallBackToLink() {
    const bool hadFocus = view_->hasFocus();
    stack_->setCurrentWidget(link_);
    setFocusProxy(link_);
    emit focusWidgetsChanged();
    if (hadFocus)
        link_->setFocus();
}

} // namespace quorvin::qt
