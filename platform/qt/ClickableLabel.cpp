#include "ClickableLabel.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

#include <utility>

namespace quorvin::qt {

namespace {

// A clickable label as a screen reader sees it: its role, its own name or else its text, and the
// action that clicks it.
class AccessibleClickableLabel : public QAccessibleWidget {
public:
    explicit AccessibleClickableLabel(ClickableLabel* label)
        : QAccessibleWidget(label, label->accessibleRole()) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {QString::fromLatin1(activateAction)}; }

    void doAction(const QString& actionName) override {
        if (actionName == QLatin1String(activateAction))
            label()->click();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    ClickableLabel* label() const { return static_cast<ClickableLabel*>(widget()); }
};

QAccessibleInterface* clickableLabelInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(ClickableLabel::staticMetaObject.className()))
        return new AccessibleClickableLabel(static_cast<ClickableLabel*>(object));
    return nullptr;
}

} // namespace

ClickableLabel::ClickableLabel(QAccessible::Role role, QWidget* parent)
    : QLabel(parent)
    , role_(role) {
    static const bool installed = [] {
        QAccessible::installFactory(clickableLabelInterface);
        return true;
    }();
    static_cast<void>(installed);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        releaseEndsDoubleClick_ = true;
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    if (std::exchange(releaseEndsDoubleClick_, false))
        return;
    if (rect().contains(event->position().toPoint()))
        click();
}

} // namespace quorvin::qt
