// The disclaimer window: a frame round the whole client area, the read-only text and two buttons;
// and the text itself.
#include "WindowLayout.h"

#include <array>

namespace quorvin::layout {

namespace {
constexpr std::array dialogControls{
    Control{"Frame1", ControlKind::Frame, Role::Frame, "", "", {0, 0, 6135, 4815}, 0},
    Control{
        "Text1", ControlKind::TextBox, Role::Disclaimer, "Frame1", "", {120, 240, 5895, 3975}, 1},
    Control{"CancelButton",
            ControlKind::CommandButton,
            Role::CancelButton,
            "Frame1",
            "Cancel",
            {3240, 4320, 1215, 375},
            2},
    Control{"OKButton",
            ControlKind::CommandButton,
            Role::AcceptButton,
            "Frame1",
            "OK",
            {1920, 4320, 1215, 375},
            3},
};
} // namespace

const WindowLayout& dialogLayout() {
    static const WindowLayout layout{"Dialog",
                                     "Quorvin.Dialog",
                                     programTitle,
                                     WindowFrame::FixedDialog,
                                     StartPosition::Manual,
                                     {5025, 2115, 6150, 4830},
                                     false,
                                     dialogControls};
    return layout;
}

std::string disclaimerText() {
    const std::string paragraphBreak = "\r\n\r\n";
    std::string text = "Please read the following carefully before using the scan tool.";
    text += paragraphBreak;
    text += "Using the scanner DO NOT collect any personal data stored on the computer, only the "
            "system information is captured and is for one time scan use only, NO personal data "
            "is transmitted. To run the scanner just click the OK button. This scanner results "
            "are for helping you find the memory type only and we do not offer a guaranteed "
            "compatibility results.";
    text += paragraphBreak;
    text += "Please verify with your computer's manual to confirm that the memory you buy is the "
            "correct memory for your system. You can make use of the many tools found on the "
            "site, these tools are meant to guide you to find the memory type for you, we have "
            "the Memory Scan tool, the Memory Selector help tool, and Live Chat.";
    text += paragraphBreak;
    text += "If you need any help before buying memory, you can use our live customer support "
            "chat to talk to one of our representative and we will be glad to help you find the "
            "compatible memory.";
    return text;
}

} // namespace quorvin::layout
