#include "FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace quorvin::qt {

namespace {

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

} // namespace

void afterFirstPaint(QWidget* widget, std::function<void()> action) {
    new FirstPaintWatch(widget, std::move(action));
}

} // namespace quorvin::qt
