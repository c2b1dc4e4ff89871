#pragma once

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QString>
#include <QTimer>

// Dismisses the next message box and keeps its text, title, icon and whether it is as wide as its
// title.
struct MessageCatcher {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool wideEnoughForTitle = false;
    int seen = 0;
    void arm() {
        QTimer::singleShot(20, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                title = box->windowTitle();
                icon = box->icon();
                wideEnoughForTitle =
                    box->width() >= QFontMetrics(box->font()).horizontalAdvance(title);
                ++seen;
                box->accept();
            } else {
                arm();
            }
        });
    }
};
