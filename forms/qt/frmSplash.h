#pragma once

#include "scan/values/ScanValue.h"

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

// The splash that stands while the scan runs. Its timer's tick runs the scan; on exactly "Success"
// the splash unloads itself and has the results shown. Any other result keeps it up, and the next
// tick scans again. A character key closes it.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    struct Scan {
        std::function<quorvin::ScanValue()> run; // creates the results window if absent, scans
        std::function<void()> showResults;
    };

    explicit frmSplash(Scan scan, QWidget* parent = nullptr);

    QTimer* timer1() const { return timer1_; }
    int ticks() const { return ticks_; }

signals:
    void unloaded();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void tick();

    Scan scan_;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QTimer* timer1_ = nullptr;
    bool scanning_ = false;
    bool painted_ = false;
    int unpaintedTicks_ = 0;
    int ticks_ = 0;
};

// True for a key press that produces a character, Enter, Esc, Backspace and Ctrl with a letter
// included.
bool producesCharacter(const QKeyEvent& event);
