#include "AccessibleRole.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace quorvin::qt {

namespace {

constexpr const char* roleProperty = "quorvinAccessibleRole";

// A widget in a role of its own. A label's name is its text, never its buddy's caption.
class RoleWidget : public QAccessibleWidget {
public:
    RoleWidget(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    QString text(QAccessible::Text t) const override {
        if (auto* label = qobject_cast<QLabel*>(widget());
            label != nullptr && t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label->text();
        return QAccessibleWidget::text(t);
    }
};

// The program as a screen reader sees it: its windows, and not the hidden ones the web engine
// makes for itself (its "Offscreen" window), which are no windows of the program.
class ProgramApplication : public QAccessibleApplication {
public:
    int childCount() const override { return static_cast<int>(windows().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QAccessibleInterface*> all = windows();
        return index >= 0 && index < all.size() ? all.at(index) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        return static_cast<int>(windows().indexOf(const_cast<QAccessibleInterface*>(child)));
    }

private:
    QList<QAccessibleInterface*> windows() const {
        QList<QAccessibleInterface*> found;
        for (int i = 0; i < QAccessibleApplication::childCount(); ++i) {
            QAccessibleInterface* window = QAccessibleApplication::child(i);
            if (window != nullptr && qobject_cast<QWidget*>(window->object()) != nullptr)
                found << window;
        }
        return found;
    }
};

QAccessibleInterface* applicationInterface(const QString& className, QObject* object) {
    if (object == qApp && className == QLatin1String("QApplication"))
        return new ProgramApplication;
    return nullptr;
}

QAccessibleInterface* roleInterface(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    const QVariant role = widget->property(roleProperty);
    if (!role.isValid())
        return nullptr;
    return new RoleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
}

// Installed as the program starts, before the application's own interface is first asked for.
const bool applicationInstalled = [] {
    QAccessible::installFactory(applicationInterface);
    return true;
}();

} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    static_cast<void>(applicationInstalled);
    // Installed once the application has installed its own for widgets: the factory installed
    // last is asked first.
    static const bool installed = [] {
        QAccessible::installFactory(roleInterface);
        return true;
    }();
    static_cast<void>(installed);
    widget->setProperty(roleProperty, static_cast<int>(role));
    // The role is read when the widget's interface is made, which a change of text or title
    // may have done already: that one goes, and the next one asked for has the role.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace quorvin::qt
