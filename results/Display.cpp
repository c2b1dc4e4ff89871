#include "Display.h"

#include "ResultsControls.h"
#include "forms/WindowLayout.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

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

void replacePlaceholders(ScanRecord& r) {
    for (ScanValue* field : {&r.scanSysManufacturer, &r.scanProductVersion, &r.scanSysModel,
                             &r.scanProductVendor, &r.scanProductNumber}) {
        if (field->isText() && field->asText().find("System") != std::string::npos)
            *field = ScanValue::text("Not Available");
    }
}

std::string memorySizeText(double gigabytes, double unit, const NumberFormat& format) {
    if (gigabytes >= 1.0)
        return numberText(gigabytes, format) + " GB";
    return numberText(gigabytes * unit, format) + " MB";
}

std::string slotsText(const ScanValue& totalSlots, int moduleCount, const NumberFormat& format) {
    return joinText(totalSlots, format) + "  (Currently Memory in " + std::to_string(moduleCount) +
           " Slots)";
}

void fillDisplay(ScanRecord& r, ResultsControls& controls, const NumberFormat& format) {
    replacePlaceholders(r);
    controls.setCaption(ValueLabel::Label35, memorySizeText(r.scanInstalledGB, r.scanUnit, format));
    controls.setCaption(ValueLabel::Label36, memorySizeText(r.scanMaxGB, r.scanUnit, format));

    const std::pair<ValueLabel, const ScanValue*> plainValues[] = {
        {ValueLabel::Label21, &r.scanSysManufacturer},
        {ValueLabel::Label22, &r.scanSysModel},
        {ValueLabel::Label23, &r.scanProductVendor},
        {ValueLabel::Label24, &r.scanProductVersion},
        {ValueLabel::Label25, &r.scanProductNumber},
        {ValueLabel::Label26, &r.scanSysType},
        {ValueLabel::Label27, &r.scanCpuName},
        {ValueLabel::Label28, &r.scanCpuManufacturer},
        {ValueLabel::Label41, &r.scanCpuClock},
        {ValueLabel::Label29, &r.scanCpuBusClock},
        {ValueLabel::Label30, &r.scanBoardManufacturer},
        {ValueLabel::Label31, &r.scanBoardProduct},
        {ValueLabel::Label32, &r.scanBiosManufacturer},
        {ValueLabel::Label33, &r.scanBiosVersion},
    };
    for (const auto& [label, value] : plainValues)
        controls.setCaption(label, joinText(*value, format));

    controls.setCaption(ValueLabel::Label37,
                        slotsText(r.scanTotalSlots, r.scanModuleCount, format));
}

} // namespace quorvin
