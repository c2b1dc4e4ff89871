#pragma once

// With QUORVIN_STARTUP_TRACE naming a file, the program appends a line for each step of its
// start ("disclaimer-painted 1765200000.123456", wall-clock seconds), which bench/startup.sh
// reads for its breakdown. Without it nothing is written.
namespace quorvin::qt {

void markStartup(const char* step);

} // namespace quorvin::qt
