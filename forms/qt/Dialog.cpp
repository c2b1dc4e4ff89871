#include "Dialog.h"

#include "LayoutWidgets.h"
#include "platform/qt/Widgets.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QMimeData>
#include <QPushButton>
#include <QTextCursor>

namespace quorvin::qtforms {

using quorvin::layout::Control;
using quorvin::layout::Role;

namespace {

QString withCrLf(QString text) {
    text.replace(QChar(0x2029), QChar('\n')); // paragraph separators of a selection
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

QWidget* makeControl(const Control& control, QWidget* parent) {
    switch (control.role) {
    case Role::Frame:
        return new QGroupBox(qtText(control.caption), parent);
    case Role::Disclaimer:
        return new DisclaimerBox(parent);
    case Role::AcceptButton:
    case Role::CancelButton:
        return new QPushButton(qtText(control.caption), parent);
    default:
        throw std::logic_error("The disclaimer has no control of the role of " +
                               std::string(control.name));
    }
}

} // namespace

QString disclaimerText() {
    return QString::fromStdString(quorvin::layout::disclaimerText());
}

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

// A dialog window has no taskbar entry of its own, as the disclaimer should not, and unlike a
// tool window it is announced by screen readers as the dialog it is.
Dialog::Dialog(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    const quorvin::layout::WindowLayout& layout = quorvin::layout::dialogLayout();
    setObjectName(qtText(layout.name));
    setWindowTitle(qtText(layout.caption));
    setWindowIcon(programIcon());
    setFont(qtFont(quorvin::layout::defaultFont));
    quorvin::qt::setAccessibleRole(this, QAccessible::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(pixelRect(layout.client));
    setFixedSize(size());

    const LayoutWidgets controls(this, layout, makeControl);
    frame1_ = controls.as<QGroupBox>(Role::Frame);
    text1_ = controls.as<DisclaimerBox>(Role::Disclaimer);
    cancelButton_ = controls.as<QPushButton>(Role::CancelButton);
    okButton_ = controls.as<QPushButton>(Role::AcceptButton);
    // The text box is named by what its text is.
    text1_->setAccessibleName(QStringLiteral("Disclaimer"));

    // Neither button is the window's default, so Enter and Esc do nothing in the text box; a
    // button is pressed by a click, or by Space or Enter while it has the focus.
    for (QPushButton* button : {cancelButton_, okButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
        pressOnEnter(button);
    }
    controls.applyTabOrder();
    text1_->setFocus();

    connect(okButton_, &QPushButton::clicked, this, &Dialog::accepted);
    connect(cancelButton_, &QPushButton::clicked, this, &Dialog::cancelled);

    text1_->setExactText(disclaimerText());
}

void Dialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The disclaimer is the window the user deals with first: it takes the focus as it appears.
    activateWindow();
    raise();
}

void Dialog::closeEvent(QCloseEvent* event) {
    event->accept();
    emit unloaded();
}

} // namespace quorvin::qtforms
