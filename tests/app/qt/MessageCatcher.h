#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>

// Dismisses the next message box and keeps its text and title.
struct MessageCatcher {
    QString text;
    QString title;
    int seen = 0;
    void arm() {
        QTimer::singleShot(20, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                title = box->windowTitle();
                ++seen;
                box->accept();
            } else {
                arm();
            }
        });
    }
};
