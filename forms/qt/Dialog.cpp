#include "Dialog.h"

#include "DisclaimerText.h"
#include "EnterPressesButton.h"
#include "Form1Layout.h"
#include "Form1Style.h"
#include "platform/qt/QtMessageBox.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>

using form1::twipRect;

Dialog::Dialog(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QString::fromUtf8(quorvin::qt::programTitle));
    setWindowIcon(form1::programIcon());
    setFont(form1::defaultFont());
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(twipRect(5025, 2115, 6150, 4830));
    setFixedSize(size());

    frame1_ = new QGroupBox(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(twipRect(0, 0, 6135, 4815));

    text1_ = new DisclaimerBox(frame1_);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(twipRect(120, 240, 5895, 3975));

    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), frame1_);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    cancelButton_->setGeometry(twipRect(3240, 4320, 1215, 375));

    okButton_ = new QPushButton(QStringLiteral("OK"), frame1_);
    okButton_->setObjectName(QStringLiteral("OKButton"));
    okButton_->setGeometry(twipRect(1920, 4320, 1215, 375));

    // Neither button is the window's default, so Enter and Esc do nothing in the text box; a
    // button is pressed by a click, or by Space or Enter while it has the focus.
    for (QPushButton* button : {cancelButton_, okButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
        form1::pressOnEnter(button);
    }
    setTabOrder(text1_, cancelButton_);
    setTabOrder(cancelButton_, okButton_);
    text1_->setFocus();

    connect(okButton_, &QPushButton::clicked, this, &Dialog::accepted);
    connect(cancelButton_, &QPushButton::clicked, this, &Dialog::cancelled);

    text1_->setExactText(disclaimerText());
}

void Dialog::closeEvent(QCloseEvent* event) {
    event->accept();
    emit unloaded();
}
