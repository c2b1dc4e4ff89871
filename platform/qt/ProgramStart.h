#pragma once

#include <functional>
#include <stdexcept>
#include <string>

class QObject;

namespace quorvin::qt {

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

} // namespace quorvin::qt
