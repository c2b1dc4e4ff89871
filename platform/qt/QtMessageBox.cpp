#include "QtMessageBox.h"

#include "QtText.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace quorvin::qt {

namespace {

constexpr std::size_t longestMessage = 500; // characters

// The first 500 characters and "..." of a longer text: a message that quotes a 10 MB value from a
// recording would keep the box off the screen for many seconds while it is laid out.
QString readableLength(const std::string& text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == longestMessage)
            return toQString(text.substr(0, i)) + QStringLiteral("...");
    }
    return toQString(text);
}

} // namespace

void showPlainMessage(QWidget* parent, std::string_view title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon,
                    QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                    readableLength(text), QMessageBox::Ok, parent);
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

} // namespace quorvin::qt
