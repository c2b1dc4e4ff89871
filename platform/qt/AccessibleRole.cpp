#include "AccessibleRole.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace quorvin::qt {

namespace {

constexpr const char* roleProperty = "quorvinAccessibleRole";

QAccessibleInterface* roleInterface(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    const QVariant role = widget->property(roleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(roleInterface);
        return true;
    }();
    static_cast<void>(installed);
    // Read when the widget's interface is first made, so set before anyone asks for it.
    widget->setProperty(roleProperty, static_cast<int>(role));
}

} // namespace quorvin::qt
