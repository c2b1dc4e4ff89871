#pragma once

#include <QAccessible>

class QWidget;

namespace quorvin::qt {

// Shows the widget to screen readers in the given role instead of the one Qt gives its class (a
// plain top-level widget is a "filler"): the splash as an alert, the disclaimer as a dialog. Its
// name and description stay the widget's own (a window's name is its title; a label's, its
// text, never a caption that names it). The program's accessible tree holds its own windows
// only, once this file is linked in.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

} // namespace quorvin::qt
