#pragma once

#include <QLabel>

namespace quorvin::qt {

// A label that reports a left click, as the chat picture and the chat link need. A double click
// is one click: its second press reports nothing, as a double click on a Windows control raises
// Click once.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool releaseEndsDoubleClick_ = false;
};

} // namespace quorvin::qt
