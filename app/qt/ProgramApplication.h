#pragma once

#include <QApplication>

#include <functional>
#include <string>

namespace quorvin::qtapp {

// The program's application object. An error that escapes an event handler (a button's, a
// list's, a timer's) would otherwise reach Qt's event loop and end the program without a word;
// here it goes to the program's error path instead, which reports it and ends the program.
class ProgramApplication : public QApplication {
    Q_OBJECT
public:
    using ErrorPath = std::function<void(const std::string& message)>;

    ProgramApplication(int& argc, char** argv);
    // Until one is set, an escaped error is written to the log and ends the program with code 1.
    void setErrorPath(ErrorPath path);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void report(const std::string& message);

    ErrorPath errorPath_;
};

} // namespace quorvin::qtapp
