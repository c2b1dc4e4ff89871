#pragma once

#include <functional>

namespace quorvin::win32forms {

// Runs an event handler and keeps whatever it throws from crossing Windows' own frames.
using HandlerGuard = std::function<bool(const std::function<void()>& handler)>;

// What guards the windows' handlers: the program's window sequence, which reports an escaping
// error and ends the program, installed once at start-up (and by the tests that make windows).
void setHandlerGuard(HandlerGuard guard);

// Runs a handler through the installed guard; false when it failed. Without a guard an escaping
// error ends the process at once (std::terminate): no handler may run unguarded.
bool runHandler(const std::function<void()>& handler);

} // namespace quorvin::win32forms
