#include "Widgets.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <utility>

#if QUORVIN_WITH_XCB
#include <xcb/xcb.h>
#endif

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

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget* widget, std::function<void()> action)
        : QObject(widget)
        , action_(std::move(action)) {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so that it runs once the painted window has been put on the screen.
            QTimer::singleShot(0, this, [this] {
                action_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> action_;
};

#if QUORVIN_WITH_XCB
// Gives the window's native X window its background colour, which X paints the moment it maps.
void fillWithBackground(QWidget* window) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // Its id, without making a native window where it has none (or has just lost it).
    const WId id = window->internalWinId();
    if (x11 == nullptr || x11->connection() == nullptr || id == 0)
        return;
    // Qt makes its windows without a background, so that X leaves their pixels to it.
    const QColor colour = window->palette().color(QPalette::Window);
    const auto pixel = static_cast<quint32>(colour.rgb() & 0xFFFFFF); // TrueColor visual
    xcb_change_window_attributes(x11->connection(), static_cast<xcb_window_t>(id),
                                 XCB_CW_BACK_PIXEL, &pixel);
}

class BackgroundKeeper : public QObject {
public:
    explicit BackgroundKeeper(QWidget* window)
        : QObject(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
            fillWithBackground(static_cast<QWidget*>(watched));
        return false;
    }
};
#endif

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

void afterFirstPaint(QWidget* widget, std::function<void()> action) {
    new FirstPaintWatch(widget, std::move(action));
}

void fillBackgroundOnAppearing(QWidget* window) {
#if QUORVIN_WITH_XCB
    // Only on the xcb platform: others (offscreen) may answer for X11 without a connection.
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        return;
    // Set on the native window there is now, and again on each one made in its place: the window
    // is made anew when the store page's engine turns it into one drawn with OpenGL, which may
    // happen just before it is shown, and the new one has no background of its own.
    window->winId();
    fillWithBackground(window);
    new BackgroundKeeper(window);
#else
    static_cast<void>(window);
#endif
}

} // namespace quorvin::qt
