#include "ProgramApplication.h"

#include "app/WindowSequence.h"

namespace quorvin::qtapp {

ProgramApplication::ProgramApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

void ProgramApplication::setErrorPath(ErrorPath path) {
    errorPath_ = std::move(path);
}

bool ProgramApplication::notify(QObject* receiver, QEvent* event) {
    // An event whose handler failed counts as handled: nothing else is to act on it.
    bool handled = true;
    quorvin::app::runCatching([&] { handled = QApplication::notify(receiver, event); },
                              [this](const std::string& message) { report(message); });
    return handled;
}

void ProgramApplication::report(const std::string& message) {
    if (errorPath_) {
        errorPath_(message);
        return;
    }
    qCritical("%s", message.c_str());
    exit(1);
}

} // namespace quorvin::qtapp
