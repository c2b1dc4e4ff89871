// The scanning splash: no caption, centred, two captions and the timer that runs the scan.
#include "WindowLayout.h"

#include <array>

namespace quorvin::layout {

namespace {
constexpr std::array splashControls{
    Control{"Label1",
            ControlKind::Label,
            Role::Caption,
            "",
            "Quorvin",
            {960, 120, 1335, 495},
            0,
            splashTitleFont,
            TextColour::Blue},
    Control{"Label2",
            ControlKind::Label,
            Role::Caption,
            "",
            "Scanning Please Wait......",
            {240, 720, 3135, 375},
            1,
            splashSerifFont},
};
} // namespace

const WindowLayout& splashLayout() {
    static const WindowLayout layout{"frmSplash",
                                     "Quorvin.frmSplash",
                                     "",
                                     WindowFrame::FixedDialog,
                                     StartPosition::CenterScreen,
                                     {0, 0, 3630, 1170},
                                     false,
                                     splashControls};
    return layout;
}

} // namespace quorvin::layout
