#pragma once

#include <string>

namespace quorvin::windows {

// Starts the program at the exact path with one argument after a blank, its window shown
// normally, and does not wait for it. The path is handed over as the application name, so
// its blanks need no quoting; the command line repeats it, quoted, for the program's own
// parsing. Throws Win32Error when Windows cannot start it.
void startProgram(const std::wstring& program, const std::wstring& argument);

} // namespace quorvin::windows
