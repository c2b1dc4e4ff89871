#pragma once

// With QUORVIN_STARTUP_TRACE naming a file, the program appends a line for each step of its
// start ("disclaimer-painted 1765200000.123456", wall-clock seconds), which bench/startup.sh
// reads for its breakdown. Without it nothing is written.
namespace startup_trace {

void mark(const char* step);

} // namespace startup_trace
