#pragma once

#include <QString>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

class QObject;
class QWidget;

namespace quorvin::qt {

// The core keeps its texts as UTF-8; Qt keeps them as UTF-16.
inline QString toQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A tooltip that shows the text as it stands: Qt would take a text that looks like markup for
// rich text, so it is escaped, and its blanks are kept.
inline QString plainToolTip(const QString& text) {
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

// One try at emptying the system clipboard and putting the text on it as plain text: false when
// the clipboard does not take it (another program holds it); throws std::runtime_error when there
// is no clipboard at all.
bool replaceClipboardText(const std::string& text);

// A modal message with the given title (the program's), an OK button only and no icon, its text
// as plain text; at least as wide as its title needs.
void showPlainMessage(QWidget* parent, std::string_view title, const std::string& text);

// The same with the error icon: the box that reports an error ending the program.
void showErrorMessage(QWidget* parent, std::string_view title, const std::string& text);

class ProcessStartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Starts the program at its exact path with one argument, shown normally, and does not wait for
// it. The path is never searched for nor parsed out of a command line, so blanks in it cannot
// start another program. Throws ProcessStartError when the program cannot start.
//
// A launcher such as xdg-open starts at once and only then looks for the program that does the
// work; when it ends with an error, failedLater is called on the event loop, while context
// lives. A launcher that hands off ends at once with success; nothing waits for it either way.
void startProgram(const std::string& program, const std::string& argument, QObject* context,
                  std::function<void()> failedLater);

// Where the desktop runs no session bus, keeps this program from starting one: D-Bus would start
// a bus of its own at the toolkit's first use (dbus-launch and dbus-daemon), which outlives the
// program. Call it before the application object. A program started with startProgram gets the
// environment as the user gave it.
void useOnlyARunningSessionBus();

// With QUORVIN_STARTUP_TRACE naming a file, the program appends a line for each step of its
// start ("disclaimer-painted 1765200000.123456", wall-clock seconds), which bench/startup.sh
// reads for its breakdown. Without it nothing is written.
void markStartup(const char* step);

} // namespace quorvin::qt
