#include "forms/WindowLayout.h"
#include "forms/DisclaimerText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace quorvin::layout;

std::vector<std::string> names(const std::vector<const Control*>& controls) {
    std::vector<std::string> result;
    for (const Control* control : controls)
        result.emplace_back(control->name);
    return result;
}

TEST(WindowLayout, TwipsRoundToTheNearestPixelAtEveryScale) {
    struct Case {
        int twips, dpi, pixels;
    };
    for (const Case c : {Case{15, 96, 1}, Case{11775, 96, 785}, Case{-120, 96, -8},
                         Case{15, 144, 2}, Case{255, 144, 26}, Case{-120, 144, -12}, Case{7, 96, 0},
                         Case{8, 96, 1}, Case{-8, 96, -1}, Case{1440, 192, 192}})
        EXPECT_EQ(toPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
}

TEST(WindowLayout, NeighboursThatTouchInTwipsTouchInPixels) {
    // The first two module lists overlap by 15 twips: one pixel at 96 DPI and at 144 DPI alike.
    const auto& form1 = form1Layout();
    for (int dpi : {96, 120, 144, 192}) {
        const PixelRect slots = toPixels(form1.at("slotsLst").place, dpi);
        const PixelRect memory = toPixels(form1.at("memoryLst").place, dpi);
        EXPECT_EQ(slots.left + slots.width - memory.left, toPixels(15, dpi)) << dpi;
    }
    EXPECT_EQ(toPixels(form1.at("WB").place, 96), (PixelRect{0, 16, 769, 289}));
}

TEST(WindowLayout, TabOrdersFollowTheTabIndices) {
    EXPECT_EQ(names(dialogLayout().tabStops()),
              (std::vector<std::string>{"Text1", "CancelButton", "OKButton"}));
    EXPECT_EQ(
        names(form1Layout().tabStops()),
        (std::vector<std::string>{"slotsLst", "clipboardCmd", "WB", "memoryLst", "speedLst"}));
    EXPECT_TRUE(splashLayout().tabStops().empty());
}

TEST(WindowLayout, EveryValueLabelIsNamedByACaptionInItsFrame) {
    const auto& form1 = form1Layout();
    int values = 0;
    for (const Control& control : form1.controls) {
        if (control.captionLabel.empty() || control.kind != ControlKind::Label)
            continue;
        ++values;
        const Control& caption = form1.at(control.captionLabel);
        EXPECT_EQ(caption.parent, control.parent) << control.name;
        EXPECT_EQ(caption.place.top, control.place.top) << control.name;
        EXPECT_EQ(caption.font, headingFont) << control.name;
        EXPECT_EQ(control.colour, TextColour::Blue) << control.name;
        EXPECT_EQ(control.caption, "Label21") << control.name;
    }
    EXPECT_EQ(values, 18);
    EXPECT_FALSE(form1.at("Label23").visible);
    EXPECT_FALSE(form1.at("Label3").visible);
    EXPECT_EQ(form1.at("Label22").captionLabel, "Label2");
    // Each module list is named by its column heading.
    EXPECT_EQ(form1.at("memoryLst").captionLabel, "Label19");
    EXPECT_EQ(form1.children("Frame1").size(), 8u);
    EXPECT_THROW(form1.at("Label38"), std::out_of_range);
}

TEST(WindowLayout, DisclaimerIsFourParagraphsOf920Characters) {
    const std::string text = disclaimerText();
    EXPECT_EQ(text.size(), 920u);
    EXPECT_EQ(text.find("\r\n\r\n"), 63u);
    EXPECT_NE(text.back(), '\n');
}

} // namespace
