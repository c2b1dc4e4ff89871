#pragma once

#include <string>

namespace quorvin::windows {

// Starts the program at the exact path with one argument after a blank, its window shown
// normally, and does not wait for it. The path is handed over as the application name, so
// its blanks need no quoting; the command line repeats it, quoted, for the program's own
// parsing. Throws Win32Error when Windows cannot start it.
void startProgram(const std::wstring& program, const std::wstring& argument);

// Hands an address to the program the user chose for its scheme (the default browser, the mail
// program), as Explorer's "open" does, and does not wait for it. Throws Win32Error naming the
// address when Windows has no program for it or cannot start one.
void openWithSystemHandler(const std::wstring& address);

} // namespace quorvin::windows
