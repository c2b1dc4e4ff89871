// The disclaimer window: a frame round the whole client area, the read-only text and two buttons.
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

} // namespace quorvin::layout
