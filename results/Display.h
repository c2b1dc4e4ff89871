#pragma once

#include "scan/ScanRecord.h"
#include "scan/values/ScanValue.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorvin {

// The results window's value labels, by their designer names.
enum class ValueLabel {
    Label21 = 21, // system manufacturer
    Label22,      // system model
    Label23,      // product vendor (hidden)
    Label24,      // product version
    Label25,      // identifying number
    Label26,      // system type
    Label27,      // processor name
    Label28,      // processor manufacturer
    Label29,      // front-side bus clock
    Label30,      // motherboard manufacturer
    Label31,      // motherboard model
    Label32,      // BIOS manufacturer
    Label33,      // BIOS version
    Label34,      // memory manufacturer
    Label35,      // installed memory
    Label36,      // maximum memory
    Label37,      // slots
    Label41 = 41, // processor speed
};

// All value labels, in the order the window's load step blanks them.
inline constexpr std::array<ValueLabel, 18> allValueLabels{
    ValueLabel::Label21, ValueLabel::Label22, ValueLabel::Label23, ValueLabel::Label24,
    ValueLabel::Label25, ValueLabel::Label26, ValueLabel::Label27, ValueLabel::Label28,
    ValueLabel::Label29, ValueLabel::Label30, ValueLabel::Label31, ValueLabel::Label32,
    ValueLabel::Label33, ValueLabel::Label34, ValueLabel::Label35, ValueLabel::Label36,
    ValueLabel::Label37, ValueLabel::Label41};

// The label's control name in the results window's layout ("Label21"); throws std::logic_error
// when the layout has no value label of that name.
std::string labelName(ValueLabel label);

// The value label a control of the results window's layout stands for; none for a control that
// is no value label.
std::optional<ValueLabel> valueLabelNamed(std::string_view name);

// Throws std::logic_error unless the layout's value labels are exactly these.
void checkValueLabels();

class ResultsControls;

// The five identity fields whose text holds "System" (case-sensitive, anywhere) carry a vendor's
// placeholder, not a value: they become "Not Available" in the record itself.
void replacePlaceholders(ScanRecord& record);

// A size in gigabytes: "8 GB" from 1.0 up, else the megabytes ("512 MB", "1003.52 MB").
std::string memorySizeText(double gigabytes, double unit, const NumberFormat& format);

// "4  (Currently Memory in 2 Slots)": sockets, two blanks, then the modules in use.
std::string slotsText(const ScanValue& totalSlots, int moduleCount, const NumberFormat& format);

// Replaces the placeholders, then writes the record into the value labels.
void fillDisplay(ScanRecord& record, ResultsControls& controls, const NumberFormat& format);

} // namespace quorvin
