#pragma once

#include <QLabel>

namespace quorvin::qt {

// A label that reports a left click, as the chat picture and the chat link need.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace quorvin::qt
