#pragma once

#include <functional>
#include <string>

namespace quorvin::win32 {

// What happens to an error that escapes an event handler: the program's own reaction (a message
// box, then the end) is installed once at start-up. Errors never cross Windows' own frames.
void setHandlerFailure(std::function<void(const std::string& message)> failure);

// Runs a handler; an error escaping it goes to the installed reaction. Returns false then.
bool runHandler(const std::function<void()>& handler);

} // namespace quorvin::win32
