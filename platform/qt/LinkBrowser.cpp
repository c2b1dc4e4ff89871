#include "LinkBrowser.h"

#include <QFocusEvent>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

namespace quorvin::qt {

namespace {

// A label whose link is chosen as soon as Tab or Shift+Tab brings the focus in, so that Enter
// opens it at once. A plain QLabel takes the focus with no link chosen and chooses it only at
// the next Tab: a stop the user cannot see.
class LinkLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLabel::focusInEvent(event);
        const Qt::FocusReason reason = event->reason();
        if (!text().isEmpty() && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
            QLabel::focusNextPrevChild(reason == Qt::TabFocusReason);
    }
};

} // namespace

LinkBrowser::LinkBrowser(QWidget* parent, const QString& reason)
    : BrowserControl(parent)
    , link_(new LinkLabel(this)) {
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
            [this](const QString& url) { openInUsersProgram(QUrl(url, QUrl::StrictMode)); });
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
