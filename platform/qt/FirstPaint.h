#pragma once

#include <functional>

class QWidget;

namespace quorvin::qt {

// Runs the action once, just after the widget's first paint has reached the screen: for work
// that should not hold up a window's first appearance.
void afterFirstPaint(QWidget* widget, std::function<void()> action);

} // namespace quorvin::qt
