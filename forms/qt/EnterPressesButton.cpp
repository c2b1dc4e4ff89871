#include "EnterPressesButton.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace quorvin::qtforms {

namespace {

class EnterFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        if (!key->isAutoRepeat())
            static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

} // namespace

void pressOnEnter(QAbstractButton* button) {
    button->installEventFilter(new EnterFilter(button));
}

} // namespace quorvin::qtforms
