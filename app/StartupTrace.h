#pragma once

#include <functional>

class QWidget;

// With QUORVIN_STARTUP_TRACE naming a file, the program appends a line for each step of its
// start ("disclaimer-painted 1765200000.123456", wall-clock seconds), which bench/startup.sh
// reads for its breakdown. Without it nothing is written.
namespace startup_trace {

void mark(const char* step);

// Runs the action once, just after the widget's first paint has reached the screen.
void afterFirstPaint(QWidget* widget, std::function<void()> action);

} // namespace startup_trace
