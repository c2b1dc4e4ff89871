#include "QtClipboard.h"

#include "QtText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quorvin::qt {

void replaceClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        throw ClipboardError("Copying to the clipboard failed: no clipboard is available");
    const QString wanted = toQString(text);
    clipboard->clear();
    clipboard->setText(wanted);
    // Qt reports no failure of its own: where another program keeps the clipboard open the old
    // contents stay, so reading back is the only way to know the copy took.
    if (clipboard->text() != wanted)
        throw ClipboardError("Copying to the clipboard failed: another program is holding the "
                             "clipboard. Close it and click the button again.");
}

} // namespace quorvin::qt
