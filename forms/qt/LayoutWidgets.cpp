#include "LayoutWidgets.h"

#include "Form1Style.h"

#include <QWidget>

#include <stdexcept>
#include <string>

namespace quorvin::qtforms {

namespace {
constexpr int designDpi = 96;
} // namespace

QRect pixelRect(const quorvin::layout::Twips& place) {
    const quorvin::layout::PixelRect pixels = quorvin::layout::toPixels(place, designDpi);
    return QRect(pixels.left, pixels.top, pixels.width, pixels.height);
}

void applyControl(QWidget* widget, const quorvin::layout::Control& control) {
    widget->setObjectName(qtText(control.name));
    widget->setGeometry(pixelRect(control.place));
    widget->setFont(qtFont(control.font));
    if (control.colour == quorvin::layout::TextColour::Blue)
        makeTextBlue(widget);
    if (!control.visible)
        widget->setVisible(false);
}

LayoutWidgets::LayoutWidgets(QWidget* window, const quorvin::layout::WindowLayout& layout,
                             const MakeWidget& make)
    : layout_(layout) {
    quorvin::layout::checkLayout(layout);
    for (const quorvin::layout::Control& control : layout.controls) {
        QWidget* parent = control.parent.empty() ? window : at(control.parent);
        QWidget* widget = make(control, parent);
        applyControl(widget, control);
        widgets_[control.name] = widget;
    }
}

QWidget* LayoutWidgets::at(std::string_view name) const {
    const auto it = widgets_.find(name);
    if (it == widgets_.end())
        throw std::out_of_range(std::string(layout_.name) + " has no control " + std::string(name));
    return it->second;
}

std::vector<QWidget*> LayoutWidgets::tabStops() const {
    std::vector<QWidget*> stops;
    for (const quorvin::layout::Control* control : layout_.tabStops())
        stops.push_back(at(control->name));
    return stops;
}

void LayoutWidgets::applyTabOrder() const {
    const std::vector<QWidget*> stops = tabStops();
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}

} // namespace quorvin::qtforms
