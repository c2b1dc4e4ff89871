#pragma once

#include "forms/WindowLayout.h"

#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>

class QWidget;

// Fonts, colours and pictures of the results window.
namespace quorvin::qtforms {

// A layout font: MS Sans Serif or Times New Roman at its size and weight, or the closest face the
// machine has (for Times New Roman, its metric twin).
QFont qtFont(const quorvin::layout::Font& font);
// Blue text (0, 0, 255) for the value labels and the chat link.
void makeTextBlue(QWidget* widget);

// A selection drawn without the focus in the colours Windows gives it (the button face and
// its text), which many styles draw in the same colour as the focused one.
void useInactiveSelectionColours(QWidget* widget);

// Narrows the letter spacing (down to 85 %) just enough for a fixed caption to fit the width,
// where even its grown box cannot hold it in the font the widget got.
void condenseToFit(QWidget* widget, const QString& caption, int width);

QIcon programIcon();
// The chat picture at its natural 152 x 68 pixels. On a screen scaled above 100 % it is drawn
// from the picture with twice the pixels, so that it stays sharp instead of being enlarged.
QPixmap chatPicture(qreal devicePixelRatio = 1.0);
// The pointer over the chat picture and link, hot spot (12, 1), as large as the screen's other
// pointers at any scale, from the same two drawings.
QCursor chatCursor(qreal devicePixelRatio = 1.0);

} // namespace quorvin::qtforms
