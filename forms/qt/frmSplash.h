#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace quorvin::qtforms {

// The splash that stands while the scan runs. Its timer ticks every 10 ms from the moment it is
// shown; what a tick, its first paint and a character key do is the window sequence's.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QTimer* timer1() const { return timer1_; }

signals:
    void ticked();
    void painted();
    void character(); // a key that produces a character
    void unloaded();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QTimer* timer1_ = nullptr;
};

// True for a key press that produces a character, Enter, Esc, Backspace and Ctrl with a letter
// included.
bool producesCharacter(const QKeyEvent& event);

} // namespace quorvin::qtforms
