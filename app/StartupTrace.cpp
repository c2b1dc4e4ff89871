#include "StartupTrace.h"

#include <QEvent>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <chrono>

namespace startup_trace {

void mark(const char* step) {
    static const QString path = qEnvironmentVariable("QUORVIN_STARTUP_TRACE");
    if (path.isEmpty())
        return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const double seconds = std::chrono::duration<double>(now).count();
    QFile file(path);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write(QByteArray(step) + ' ' + QByteArray::number(seconds, 'f', 6) + '\n');
}

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

} // namespace startup_trace
