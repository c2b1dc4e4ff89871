#include "frmSplash.h"

#include "LayoutWidgets.h"
#include "platform/qt/Widgets.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace quorvin::qtforms {

bool producesCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Backspace:
        return true;
    case Qt::Key_Delete:
        return false; // X11 gives it the text DEL; on Windows it produces no character
    default:
        // Ctrl with a letter produces a control character, which counts as any other.
        return !event.text().isEmpty();
    }
}

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    const quorvin::layout::WindowLayout& layout = quorvin::layout::splashLayout();
    setObjectName(qtText(layout.name));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    resize(pixelRect(layout.client).size());
    setFixedSize(size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = rect();
        area.moveCenter(screen->availableGeometry().center()); // the screen without its panels
        move(area.topLeft());
    }

    // A fixed dialog frame round a window that has no title bar.
    auto* border = new QFrame(this);
    border->setFrameStyle(QFrame::Panel | QFrame::Raised);
    border->setLineWidth(2);
    border->setGeometry(rect());

    const LayoutWidgets controls(this, layout,
                                 [](const quorvin::layout::Control& control, QWidget* parent) {
                                     auto* label = new QLabel(qtText(control.caption), parent);
                                     label->setTextFormat(Qt::PlainText);
                                     return label;
                                 });
    label1_ = controls.as<QLabel>("Label1");
    label2_ = controls.as<QLabel>("Label2");

    // A screen reader announces the splash as it appears, as an alert that says what it says.
    quorvin::qt::setAccessibleRole(this, QAccessible::AlertMessage);
    setAccessibleName(label1_->text());
    setAccessibleDescription(label2_->text());

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(quorvin::layout::splashTimerMilliseconds);
    connect(timer1_, &QTimer::timeout, this, &frmSplash::ticked);
}

void frmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Enabled from the moment the window loads; the scan waits for the first paint.
    if (!timer1_->isActive())
        timer1_->start();
    activateWindow();
    setFocus();
}

void frmSplash::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    emit painted();
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    if (producesCharacter(*event)) {
        emit character();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmSplash::closeEvent(QCloseEvent* event) {
    timer1_->stop();
    event->accept();
    emit unloaded();
}

} // namespace quorvin::qtforms
