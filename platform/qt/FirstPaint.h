#pragma once

#include <functional>

class QWidget;

namespace quorvin::qt {

// Runs the action once, just after the widget's first paint has reached the screen: for work
// that should not hold up a window's first appearance.
void afterFirstPaint(QWidget* widget, std::function<void()> action);

// Has the window system fill the top-level window with its background colour the moment it
// appears, before the toolkit's first frame: a window drawn with OpenGL is otherwise black until
// then. Makes the native window if it has none; does nothing where the window system is not X11.
void fillBackgroundOnAppearing(QWidget* window);

} // namespace quorvin::qt
