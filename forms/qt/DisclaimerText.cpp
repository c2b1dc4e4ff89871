#include "DisclaimerText.h"

#include "forms/DisclaimerText.h"

#include <QMimeData>
#include <QTextCursor>

namespace quorvin::qtforms {

QString disclaimerText() {
    return QString::fromStdString(quorvin::layout::disclaimerText());
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

} // namespace quorvin::qtforms
