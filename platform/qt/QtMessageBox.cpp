#include "QtMessageBox.h"

#include "QtText.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace quorvin::qt {

namespace {

void showMessage(QWidget* parent, std::string_view title, const std::string& text,
                 QMessageBox::Icon icon) {
    QMessageBox box(icon, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                    toQString(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // A message box is as wide as its text, which can leave the title cut short; a spacer as
    // wide as the title with room for the title bar's buttons keeps it whole.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int titleWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 120;
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

} // namespace

void showPlainMessage(QWidget* parent, std::string_view title, const std::string& text) {
    showMessage(parent, title, text, QMessageBox::NoIcon);
}

void showErrorMessage(QWidget* parent, std::string_view title, const std::string& text) {
    showMessage(parent, title, text, QMessageBox::Critical);
}

} // namespace quorvin::qt
