#include "ProgramApplication.h"

#include <exception>

ProgramApplication::ProgramApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

void ProgramApplication::setErrorPath(ErrorPath path) {
    errorPath_ = std::move(path);
}

bool ProgramApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        report(error.what());
    } catch (...) {
        report("An unexpected error ended the program.");
    }
    // The event counts as handled: nothing else is to act on it after its handler failed.
    return true;
}

void ProgramApplication::report(const std::string& message) {
    if (errorPath_) {
        errorPath_(message);
        return;
    }
    qCritical("%s", message.c_str());
    exit(1);
}
