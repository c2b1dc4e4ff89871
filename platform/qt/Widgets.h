#pragma once

#include <QAccessible>
#include <QLabel>

#include <functional>

class QWidget;

namespace quorvin::qt {

// A label that reports a left click, as the chat picture and the chat link need. A double click
// is one click: its second press reports nothing, as a double click on a Windows control raises
// Click once. Screen readers see it in the given role with one action, "activate", that does what
// a click does; it stays out of the Tab order.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QAccessible::Role role, QWidget* parent = nullptr);

    QAccessible::Role accessibleRole() const { return role_; }
    // What a click does.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QAccessible::Role role_;
    bool releaseEndsDoubleClick_ = false;
};

// The name of the one action a screen reader can invoke on a clickable label.
inline constexpr const char* activateAction = "activate";

// Shows the widget to screen readers in the given role instead of the one Qt gives its class (a
// plain top-level widget is a "filler"): the splash as an alert, the disclaimer as a dialog. Its
// name and description stay the widget's own (a window's name is its title; a label's, its
// text, never a caption that names it). The program's accessible tree holds its own windows
// only, once this module is linked in.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// Runs the action once, just after the widget's first paint has reached the screen: for work
// that should not hold up a window's first appearance.
void afterFirstPaint(QWidget* widget, std::function<void()> action);

// Has the window system fill the top-level window with its background colour the moment it
// appears, before the toolkit's first frame: a window drawn with OpenGL is otherwise black until
// then. Makes the native window if it has none; does nothing where the window system is not X11.
void fillBackgroundOnAppearing(QWidget* window);

} // namespace quorvin::qt
