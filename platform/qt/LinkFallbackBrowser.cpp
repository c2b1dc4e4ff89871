#include "LinkFallbackBrowser.h"

#include "LinkBrowser.h"

#include <QApplication>
#include <QPainter>
#include <QStackedLayout>
#include <QUrl>
#include <QVBoxLayout>

namespace quorvin::qt {

LinkFallbackBrowser::LinkFallbackBrowser(QWidget* parent)
    : BrowserControl(parent)
    , link_(new LinkBrowser(this)) {
    // The page draws no focus of its own that a user could find: while the focus is anywhere
    // inside, the frame draws a ring around it, in the margin kept for it (a stacked layout
    // gives its pages the whole of its place, margins or not).
    auto* ringMargin = new QVBoxLayout(this);
    ringMargin->setContentsMargins(focusRingWidth, focusRingWidth, focusRingWidth, focusRingWidth);
    auto* pages = new QWidget(this);
    ringMargin->addWidget(pages);
    stack_ = new QStackedLayout(pages);
    stack_->addWidget(link_);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(link_);
    connect(link_, &BrowserControl::addressNotOpened, this, &BrowserControl::addressNotOpened);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (holds(old) != holds(now))
            update();
    });
}

bool LinkFallbackBrowser::holds(const QWidget* widget) const {
    return widget != nullptr && (widget == this || isAncestorOf(widget));
}

bool LinkFallbackBrowser::hasFocusInside() const {
    return holds(QApplication::focusWidget());
}

void LinkFallbackBrowser::paintEvent(QPaintEvent*) {
    if (!hasFocusInside())
        return;
    // In the highlight colour, which follows a high-contrast palette too.
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), focusRingWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const qreal half = focusRingWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
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
