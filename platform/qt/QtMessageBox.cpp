#include "QtMessageBox.h"

#include "QtText.h"

#include <QMessageBox>

namespace quorvin::qt {

void showPlainMessage(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(programTitle), toQString(text),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace quorvin::qt
