#pragma once

#include <stdexcept>
#include <string>

namespace quorvin::qt {

class ProcessStartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Starts the program at its exact path with one argument, shown normally, and does not wait for
// it. The path is never searched for nor parsed out of a command line, so blanks in it cannot
// start another program. Throws ProcessStartError.
void startProgram(const std::string& program, const std::string& argument);

} // namespace quorvin::qt
