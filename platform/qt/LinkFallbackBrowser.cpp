#include "LinkFallbackBrowser.h"

#include "LinkBrowser.h"

#include <QStackedLayout>
#include <QUrl>

namespace quorvin::qt {

LinkFallbackBrowser::LinkFallbackBrowser(QWidget* parent)
    : BrowserControl(parent)
    , stack_(new QStackedLayout(this))
    , link_(new LinkBrowser(this)) {
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->addWidget(link_);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(link_);
    connect(link_, &BrowserControl::addressNotOpened, this, &BrowserControl::addressNotOpened);
}

void LinkFallbackBrowser::showEngine(QWidget* engine) {
    stack_->addWidget(engine);
    stack_->setCurrentWidget(engine);
    setFocusProxy(engine);
    emit focusWidgetsChanged();
}

void LinkFallbackBrowser::fallBackToLink() {
    QWidget* engine = stack_->currentWidget();
    const bool hadFocus = engine != nullptr && engine->hasFocus();
    stack_->setCurrentWidget(link_);
    setFocusProxy(link_);
    emit focusWidgetsChanged();
    if (hadFocus)
        link_->setFocus();
}

QUrl LinkFallbackBrowser::acceptAddress(const std::string& address) {
    const QUrl url = browsableUrl(address);
    address_ = url.toString(QUrl::FullyEncoded);
    link_->navigate(address);
    return url;
}

QString LinkFallbackBrowser::address() const {
    return address_;
}

bool LinkFallbackBrowser::showsLink() const {
    return stack_->currentWidget() == link_;
}

} // namespace quorvin::qt
