#pragma once

#include <QPlainTextEdit>
#include <QString>

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

} // namespace quorvin::qtforms
