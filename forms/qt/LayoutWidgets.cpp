#include "LayoutWidgets.h"

#include "Form1Style.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <cmath>

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

namespace {

// A fixed text whole on one line in the font its control got: the box grows to hold it, about its
// centre or to its right, within its parent; only what the parent cannot make room for is drawn
// narrower.
void fitFixedText(QWidget* widget, const quorvin::layout::WindowLayout& layout,
                  const quorvin::layout::Control& control) {
    auto* label = qobject_cast<QLabel*>(widget);
    auto* button = qobject_cast<QPushButton*>(widget);
    if (label == nullptr && button == nullptr)
        return;
    const QString text = label != nullptr ? label->text() : button->text();
    // A button's caption needs its margins too, as the style measures them. Measured here in
    // device-independent pixels, a text can come out a little wider on a scaled screen, where its
    // glyphs are hinted to other pixels: a twenty-fifth more keeps it whole there.
    const qreal advance = QFontMetricsF(widget->font()).horizontalAdvance(text);
    const int buttonMargins = button != nullptr ? 12 : 0;
    const int needed = std::max(button != nullptr ? button->sizeHint().width() : 0,
                                static_cast<int>(std::ceil(advance * 1.04)) + 2 + buttonMargins);
    const QRect box = widget->geometry();
    const QWidget* parent = widget->parentWidget();
    const int parentWidth = parent != nullptr ? parent->width() : box.right() + 1;
    const quorvin::layout::PixelRect fitted = quorvin::layout::widenedToText(
        layout, control, {box.left(), box.top(), box.width(), box.height()}, 0, parentWidth,
        needed);
    widget->setGeometry(fitted.left, fitted.top, fitted.width, fitted.height);
    if (label == nullptr)
        return;
    if (quorvin::layout::growsAboutCentre(layout, control))
        label->setAlignment(Qt::AlignHCenter | (label->alignment() & Qt::AlignVertical_Mask));
    condenseToFit(label, text, fitted.width);
}

} // namespace

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
        if (quorvin::layout::growsToHoldText(control))
            fitFixedText(widget, layout, control);
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
