#pragma once

#include <stdexcept>
#include <string>

namespace quorvin::qt {

class ProcessStartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Starts the program at its exact path with one argument and does not wait for it. No command line
// is parsed, so blanks in the path cannot start another program. Throws ProcessStartError.
void startProgram(const std::string& program, const std::string& argument);

} // namespace quorvin::qt
