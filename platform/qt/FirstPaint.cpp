#include "FirstPaint.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#if QUORVIN_WITH_XCB
#include <xcb/xcb.h>
#endif

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
