#include "ClickableLabel.h"

#include <QMouseEvent>

#include <utility>

namespace quorvin::qt {

ClickableLabel::ClickableLabel(QWidget* parent)
    : QLabel(parent) {}

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
        emit clicked();
}

} // namespace quorvin::qt
