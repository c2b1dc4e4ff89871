#pragma once

#include "forms/WindowLayout.h"

#include <QRect>
#include <QString>

#include <functional>
#include <map>
#include <string_view>
#include <vector>

class QWidget;

// The layout tables read by the Qt windows: places, fonts and colours as Qt wants them.
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
