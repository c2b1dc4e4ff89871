#include "QtClipboard.h"

#include "QtText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quorvin::qt {

bool replaceClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        throw std::runtime_error("Copying to the clipboard failed: no clipboard is available");
    const QString wanted = toQString(text);
    clipboard->clear();
    clipboard->setText(wanted);
    // Qt reports no failure of its own: where another program keeps the clipboard open the old
    // contents stay, so reading back is the only way to know the copy took.
    return clipboard->text() == wanted;
}

} // namespace quorvin::qt
