// The results window: captioned frames of values, the module table, the chat picture and link,
// the copy button and the store page.
#include "WindowLayout.h"

#include <array>
#include <vector>

namespace quorvin::layout {

namespace {

constexpr int rowHeight = 255;
constexpr int captionLeft = 240;
constexpr int valueLeft = 1560;

constexpr Control frame(std::string_view name, std::string_view caption, Twips place, int tab) {
    return Control{name, ControlKind::Frame, Role::Frame, "Frame1", caption, place,
                   tab,  headingFont};
}

// A caption label in the heading font.
constexpr Control heading(std::string_view name, std::string_view parent, std::string_view caption,
                          Twips place, int tab, bool visible = true) {
    return Control{name, ControlKind::Label, Role::Caption,      parent, caption, place,
                   tab,  headingFont,        TextColour::System, visible};
}

// A value label: blue, default font, laid out with the placeholder caption, named by its caption
// label.
constexpr Control value(std::string_view name, std::string_view parent, Twips place, int tab,
                        std::string_view captionLabel, bool visible = true) {
    return Control{name, ControlKind::Label, Role::Value,      parent,  "Label21",   place,
                   tab,  defaultFont,        TextColour::Blue, visible, captionLabel};
}

// One row of a frame: the caption label at 240 and its value label at 1560, on the same top.
struct ValueRow {
    std::string_view frame;
    int top;
    std::string_view captionName;
    std::string_view caption;
    int captionWidth;
    int captionTab;
    std::string_view valueName;
    int valueWidth;
    int valueTab;
};

constexpr std::array valueRows{
    ValueRow{"Frame2", 240, "Label1", "Manufacturer", 1215, 2, "Label21", 4215, 28},
    ValueRow{"Frame2", 600, "Label2", "Model", 1095, 3, "Label22", 4215, 29},
    ValueRow{"Frame2", 960, "Label4", "Version", 1095, 4, "Label24", 4215, 30},
    ValueRow{"Frame2", 1320, "Label5", "Identifying No", 1455, 5, "Label25", 4215, 31},
    ValueRow{"Frame2", 1680, "Label9", "Type", 1095, 10, "Label26", 4335, 32},
    ValueRow{"Frame3", 240, "Label6", "Name", 1095, 7, "Label27", 4335, 33},
    ValueRow{"Frame3", 600, "Label7", "Manufacturer", 1215, 8, "Label28", 4215, 34},
    ValueRow{"Frame3", 960, "Label40", "Speed", 1095, 52, "Label41", 3375, 53},
    ValueRow{"Frame3", 1320, "Label8", "FSB", 1095, 9, "Label29", 4335, 35},
    ValueRow{"Frame4", 240, "Label10", "Manufacturer", 1215, 12, "Label30", 3375, 36},
    ValueRow{"Frame4", 600, "Label11", "Model", 1095, 13, "Label31", 3375, 37},
    ValueRow{"Frame5", 240, "Label12", "Manufacturer", 1215, 15, "Label32", 3735, 38},
    ValueRow{"Frame5", 600, "Label13", "Version", 1095, 16, "Label33", 3735, 39},
    ValueRow{"Frame6", 240, "Label14", "Manufacturer", 1215, 18, "Label34", 3375, 40},
    ValueRow{"Frame6", 600, "Label15", "Installed RAM", 1335, 19, "Label35", 3375, 41},
    ValueRow{"Frame6", 960, "Label16", "Maximum RAM", 1335, 20, "Label36", 3375, 42},
    ValueRow{"Frame6", 1320, "Label17", "No Of Slots", 1335, 21, "Label37", 3375, 43},
};

// Every control but the value rows, in the order the window makes them.
constexpr std::array otherControls{
    // Frame1 is as wide as the window and starts 120 twips above it, so that it frames the
    // window's left, right and bottom edges only.
    Control{"Frame1", ControlKind::Frame, Role::Frame, "", "", {0, -120, 11775, 10695}, 0},

    frame("Frame2", "System", {120, 120, 6015, 2055}, 1),
    // The vendor row is written by the scan but never shown.
    heading("Label3", "Frame2", "Vendor", {3960, 120, 1095, rowHeight}, 55, false),
    value("Label23", "Frame2", {5280, 120, 615, rowHeight}, 54, "Label3", false),

    frame("Frame3", "Processor", {120, 2160, 6015, 1695}, 6),
    frame("Frame4", "Motherboard", {6240, 120, 5415, 975}, 11),
    frame("Frame5", "Bios", {6240, 1080, 5415, 975}, 14),
    frame("Frame6", "Memory", {6240, 2160, 5415, 1695}, 17),

    // The module table: three lists side by side under their headings, overlapping by 15 twips;
    // each list is named by its heading.
    frame("Frame7", "Installed Memory Details", {120, 3840, 7335, 2175}, 22),
    heading("Label18", "Frame7", "Slots", {1800, 240, 495, rowHeight}, 24),
    heading("Label19", "Frame7", "Memory Size", {4200, 240, 1095, rowHeight}, 26),
    heading("Label20", "Frame7", "Memory Speed", {5640, 240, 1335, rowHeight}, 27),
    Control{"slotsLst",
            ControlKind::ListBox,
            Role::ModuleList,
            "Frame7",
            "",
            {120, 480, 3855, 1620},
            23,
            defaultFont,
            TextColour::System,
            true,
            "Label18"},
    Control{"memoryLst",
            ControlKind::ListBox,
            Role::ModuleList,
            "Frame7",
            "",
            {3960, 480, 1575, 1620},
            50,
            defaultFont,
            TextColour::System,
            true,
            "Label19"},
    Control{"speedLst",
            ControlKind::ListBox,
            Role::ModuleList,
            "Frame7",
            "",
            {5520, 480, 1575, 1620},
            51,
            defaultFont,
            TextColour::System,
            true,
            "Label20"},

    // The command area: the chat picture and link, and the copy button.
    frame("Frame8", "", {7560, 3840, 4095, 2175}, 25),
    Control{"Image1",
            ControlKind::Picture,
            Role::ChatPicture,
            "Frame8",
            "",
            {1200, 360, 2280, 1020},
            std::nullopt},
    Control{"Label39",
            ControlKind::Label,
            Role::ChatLink,
            "Frame8",
            "Click Here to Chat with Our Customer Representative",
            {120, 1440, 3855, 375},
            45,
            defaultFont,
            TextColour::Blue},
    Control{"clipboardCmd",
            ControlKind::CommandButton,
            Role::CopyButton,
            "Frame8",
            "Copy System Info To Clipboard",
            {960, 1680, 2415, 375},
            46},

    // The store page fills its frame below the caption line.
    frame("Frame9", "Compatible Memory Upgrade", {120, 6000, 11535, 4575}, 47),
    Control{"WB", ControlKind::Browser, Role::Browser, "Frame9", "", {0, 240, 11535, 4335}, 48},
};

} // namespace

const WindowLayout& form1Layout() {
    static const std::vector<Control> controls = [] {
        std::vector<Control> all;
        for (const Control& control : otherControls) {
            all.push_back(control);
            // A frame's rows follow the frame itself.
            for (const ValueRow& row : valueRows) {
                if (row.frame != control.name)
                    continue;
                all.push_back(heading(row.captionName, row.frame, row.caption,
                                      {captionLeft, row.top, row.captionWidth, rowHeight},
                                      row.captionTab));
                all.push_back(value(row.valueName, row.frame,
                                    {valueLeft, row.top, row.valueWidth, rowHeight}, row.valueTab,
                                    row.captionName));
            }
        }
        return all;
    }();
    static const WindowLayout layout{"Form1",
                                     "Quorvin.Form1",
                                     programTitle,
                                     WindowFrame::FixedSingle,
                                     StartPosition::Manual,
                                     {1845, 330, 11775, 10590},
                                     true,
                                     controls};
    return layout;
}

} // namespace quorvin::layout
