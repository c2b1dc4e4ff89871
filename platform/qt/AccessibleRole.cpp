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

// A widget in a role of its own. A label's name is its text, never its buddy's caption, and its
// text can be read as text, read-only, without selection.
class RoleWidget : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    RoleWidget(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    QString text(QAccessible::Text t) const override {
        if (label() != nullptr && t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(t);
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface && label() != nullptr)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text interface, over the label's text.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QLabel* label() const { return qobject_cast<QLabel*>(widget()); }
    QString shown() const { return label() != nullptr ? label()->text() : QString(); }
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
