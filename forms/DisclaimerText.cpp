#include "DisclaimerText.h"

#include <QMimeData>
#include <QTextCursor>

QString disclaimerText() {
    const QString lineBreak = QStringLiteral("\r\n");
    QString text =
        QStringLiteral("Please read the following carefully before using the scan tool.");
    text += lineBreak + lineBreak;
    text += QStringLiteral(
        "Using the scanner DO NOT collect any personal data stored on the computer, only the "
        "system information is captured and is for one time scan use only, NO personal data is "
        "transmitted. To run the scanner just click the OK button. This scanner results are for "
        "helping you find the memory type only and we do not offer a guaranteed compatibility "
        "results.");
    text += lineBreak + lineBreak;
    text += QStringLiteral(
        "Please verify with your computer's manual to confirm that the memory you buy is the "
        "correct memory for your system. You can make use of the many tools found on the site, "
        "these tools are meant to guide you to find the memory type for you, we have the Memory "
        "Scan tool, the Memory Selector help tool, and Live Chat.");
    text += lineBreak + lineBreak;
    text += QStringLiteral(
        "If you need any help before buying memory, you can use our live customer support chat "
        "to talk to one of our representative and we will be glad to help you find the "
        "compatible memory.");
    return text;
}

namespace {
QString withCrLf(QString text) {
    text.replace(QChar(0x2029), QChar('\n')); // paragraph separators of a selection
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}
} // namespace

DisclaimerBox::DisclaimerBox(QWidget* parent)
    : QPlainTextEdit(parent) {
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void DisclaimerBox::setExactText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
    moveCursor(QTextCursor::Start);
}

QString DisclaimerBox::exactText() const {
    return withCrLf(toPlainText());
}

QMimeData* DisclaimerBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(withCrLf(textCursor().selectedText()));
    return data;
}
