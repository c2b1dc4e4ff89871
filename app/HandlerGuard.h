#pragma once

#include <functional>
#include <string>

namespace quorvin::app {

// The one place where the program catches what its event handlers throw: runs a handler and
// gives the message of an error escaping it to failed. Returns false then.
bool runGuarded(const std::function<void()>& handler,
                const std::function<void(const std::string& message)>& failed);

// What the message box says of an error that is no std::exception.
inline constexpr const char* unexpectedErrorText = "An unexpected error ended the program.";

} // namespace quorvin::app
