#pragma once

#include "forms/WindowLayout.h"

#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <functional>
#include <map>
#include <string_view>
#include <vector>

class QAbstractButton;
class QWidget;

// The layout tables read by the Qt windows: places, fonts, colours and pictures as Qt wants them,
// and the widget behaviour the windows share.
namespace quorvin::qtforms {

// A caption or name from the tables (UTF-8) as Qt text.
inline QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A place in twips as device-independent pixels: 15 twips each, as at 96 DPI, so that Qt's
// high-DPI scaling keeps the proportions on every screen.
QRect pixelRect(const quorvin::layout::Twips& place);

// Gives the widget its control's name, place, font, text colour and visibility.
void applyControl(QWidget* widget, const quorvin::layout::Control& control);

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

// The program's pictures.
QIcon programIcon();
// The chat picture at its natural 152 x 68 pixels. On a screen scaled above 100 % it is drawn
// from the picture with twice the pixels, so that it stays sharp instead of being enlarged.
QPixmap chatPicture(qreal devicePixelRatio = 1.0);
// The pointer over the chat picture and link, hot spot (12, 1), as large as the screen's other
// pointers at any scale, from the same two drawings.
QCursor chatCursor(qreal devicePixelRatio = 1.0);

// Enter and Return press the button while it has the focus, as on Windows (Space already does).
// Nothing else changes: a window's other controls still ignore both keys.
void pressOnEnter(QAbstractButton* button);

// Makes a widget for a control, in the given parent; the builder then applies the control's row.
using MakeWidget = std::function<QWidget*(const quorvin::layout::Control&, QWidget* parent)>;

// The widgets made for a window's controls, by control name.
class LayoutWidgets {
public:
    // Makes every control of the layout in table order, each inside its parent's widget (the
    // window for controls placed directly on it).
    LayoutWidgets(QWidget* window, const quorvin::layout::WindowLayout& layout,
                  const MakeWidget& make);

    // The widget of the named control; throws std::out_of_range when there is none.
    QWidget* at(std::string_view name) const;
    template <class W> W* as(std::string_view name) const { return static_cast<W*>(at(name)); }
    // The widget of the window's one control of the role.
    template <class W> W* as(quorvin::layout::Role role) const {
        return as<W>(layout_.only(role).name);
    }
    // The widgets of the controls that take the focus, in the layout's Tab order.
    std::vector<QWidget*> tabStops() const;
    // Chains Qt's Tab order through tabStops().
    void applyTabOrder() const;

private:
    const quorvin::layout::WindowLayout& layout_;
    std::map<std::string_view, QWidget*> widgets_;
};

} // namespace quorvin::qtforms
