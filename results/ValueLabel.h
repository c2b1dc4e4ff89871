#pragma once

#include <array>
#include <string>

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

inline std::string labelName(ValueLabel label) {
    return "Label" + std::to_string(static_cast<int>(label));
}

} // namespace quorvin
