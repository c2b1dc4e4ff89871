#pragma once

#include <QAccessible>
#include <QLabel>

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

} // namespace quorvin::qt
