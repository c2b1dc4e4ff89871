#include "ValueLabel.h"

#include "forms/WindowLayout.h"

#include <algorithm>
#include <stdexcept>

namespace quorvin {

namespace {
std::string designerName(ValueLabel label) {
    return "Label" + std::to_string(static_cast<int>(label));
}
} // namespace

std::string labelName(ValueLabel label) {
    const std::string name = designerName(label);
    const layout::Control* control = layout::form1Layout().find(name);
    if (control == nullptr || control->role != layout::Role::Value)
        throw std::logic_error("The results window's layout has no value label " + name);
    return name;
}

std::optional<ValueLabel> valueLabelNamed(std::string_view name) {
    const layout::Control* control = layout::form1Layout().find(name);
    if (control == nullptr || control->role != layout::Role::Value)
        return std::nullopt;
    for (const ValueLabel label : allValueLabels)
        if (designerName(label) == name)
            return label;
    return std::nullopt;
}

void checkValueLabels() {
    const auto values = layout::form1Layout().withRole(layout::Role::Value);
    for (const layout::Control* control : values)
        if (!valueLabelNamed(control->name))
            throw std::logic_error("The results window's layout has a value label, " +
                                   std::string(control->name) + ", that the scan never fills");
    for (const ValueLabel label : allValueLabels)
        labelName(label);
}

} // namespace quorvin
