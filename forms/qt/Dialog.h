#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QWidget>

class QGroupBox;
class QPushButton;

namespace quorvin::qtforms {

// The disclaimer's four paragraphs, separated by CR LF CR LF: 920 characters.
QString disclaimerText();

// A read-only text box that keeps the exact text it was given: it shows the CR LF breaks as line
// breaks, and a copy of a selection carries them as CR LF again.
class DisclaimerBox : public QPlainTextEdit {
public:
    explicit DisclaimerBox(QWidget* parent = nullptr);
    void setExactText(const QString& text);
    // The whole text as given, CR LF breaks included.
    QString exactText() const;

protected:
    QMimeData* createMimeDataFromSelection() const override;
};

// The disclaimer the user accepts before anything is scanned. It reports the user's choice and
// leaves the window sequence to its owner.
class Dialog : public QWidget {
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);

    DisclaimerBox* text1() const { return text1_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

signals:
    void accepted();  // OKButton
    void cancelled(); // CancelButton
    void unloaded();  // closed, by its close box or by its owner

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QGroupBox* frame1_ = nullptr;
    DisclaimerBox* text1_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace quorvin::qtforms
