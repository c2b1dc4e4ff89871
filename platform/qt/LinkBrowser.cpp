#include "LinkBrowser.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

namespace quorvin::qt {

LinkBrowser::LinkBrowser(QWidget* parent, const QString& reason)
    : BrowserControl(parent)
    , link_(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    if (!reason.isEmpty()) {
        reason_ = new QLabel(reason, this);
        reason_->setObjectName(QStringLiteral("WBReason"));
        reason_->setTextFormat(Qt::PlainText);
        reason_->setWordWrap(true);
        reason_->setAlignment(Qt::AlignCenter);
        layout->addWidget(reason_);
    }
    // The whole width, its text centred in it: a label placed centred is given the width of its
    // text before it has any, and a wrapped link was cut to its first words.
    link_->setAlignment(Qt::AlignCenter);
    layout->addWidget(link_);
    layout->addStretch();
    link_->setTextFormat(Qt::RichText);
    link_->setWordWrap(true);
    link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link_->setFocusPolicy(Qt::TabFocus);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(link_);
    connect(link_, &QLabel::linkActivated, this,
            [](const QString& url) { QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode)); });
}

void LinkBrowser::navigate(const std::string& address) {
    const QUrl url = browsableUrl(address);
    address_ = url.toString(QUrl::FullyEncoded);
    // The address is fully percent-encoded, so it holds no markup; escaping keeps it that way.
    link_->setText(QStringLiteral("<a href=\"%1\">Open the compatible memory upgrades page</a>")
                       .arg(address_.toHtmlEscaped()));
}

QString LinkBrowser::reason() const {
    return reason_ != nullptr ? reason_->text() : QString();
}

QString LinkBrowser::address() const {
    return address_;
}

} // namespace quorvin::qt
