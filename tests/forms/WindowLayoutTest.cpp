#include "forms/WindowLayout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using namespace quorvin::layout;
using quorvin::ModuleList;

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

const WindowLayout* const allWindows[] = {&dialogLayout(), &splashLayout(), &form1Layout()};
constexpr int screenDpis[] = {96, 120, 144, 192};

TEST(WindowLayout, NeighboursThatTouchInTwipsTouchInPixels) {
    for (const WindowLayout* window : allWindows)
        for (const Control& a : window->controls)
            for (const Control* const sibling : window->children(a.parent))
                for (int dpi : screenDpis) {
                    const Control& b = *sibling;
                    const PixelRect pa = toPixels(a.place, dpi);
                    const PixelRect pb = toPixels(b.place, dpi);
                    const auto where = [&] {
                        return std::string(window->name) + " " + std::string(a.name) + "/" +
                               std::string(b.name) + " at " + std::to_string(dpi);
                    };
                    if (a.place.left + a.place.width == b.place.left)
                        EXPECT_EQ(pa.left + pa.width, pb.left) << where();
                    if (a.place.top + a.place.height == b.place.top)
                        EXPECT_EQ(pa.top + pa.height, pb.top) << where();
                    if (a.place.left == b.place.left)
                        EXPECT_EQ(pa.left, pb.left) << where();
                    if (a.place.top == b.place.top)
                        EXPECT_EQ(pa.top, pb.top) << where();
                }
    // The first two module lists overlap by 15 twips: one pixel at 96 DPI, two at 144 alike.
    const auto& form1 = form1Layout();
    for (int dpi : screenDpis) {
        const PixelRect slots = toPixels(form1.at("slotsLst").place, dpi);
        const PixelRect memory = toPixels(form1.at("memoryLst").place, dpi);
        EXPECT_EQ(slots.left + slots.width - memory.left, toPixels(15, dpi)) << dpi;
    }
}

TEST(WindowLayout, EveryControlStaysWithinItsFrameAtEveryScale) {
    for (const WindowLayout* window : allWindows)
        for (const Control& control : window->controls) {
            const Control* frame = window->find(control.parent);
            if (frame == nullptr)
                continue;
            for (int dpi : screenDpis) {
                const PixelRect inner = toPixels(control.place, dpi);
                const PixelRect outer = toPixels(frame->place, dpi);
                const std::string where = std::string(window->name) + " " +
                                          std::string(control.name) + " at " + std::to_string(dpi);
                EXPECT_GE(inner.left, 0) << where;
                EXPECT_GE(inner.top, 0) << where;
                EXPECT_LE(inner.left + inner.width, outer.width) << where;
                EXPECT_LE(inner.top + inner.height, outer.height) << where;
            }
        }
}

TEST(WindowLayout, At96DpiEveryPlaceIsFifteenTwipsAPixel) {
    // The designer snapped every place to whole pixels at 96 DPI.
    for (const WindowLayout* window : allWindows) {
        EXPECT_EQ(toPixels(window->client, 96),
                  (PixelRect{window->client.left / 15, window->client.top / 15,
                             window->client.width / 15, window->client.height / 15}))
            << window->name;
        for (const Control& control : window->controls) {
            const Twips& t = control.place;
            EXPECT_EQ(toPixels(t, 96),
                      (PixelRect{t.left / 15, t.top / 15, t.width / 15, t.height / 15}))
                << window->name << " " << control.name;
        }
    }
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

TEST(WindowLayout, TheThreeTablesCanBeBuiltAndABrokenOneIsRefusedByName) {
    for (const WindowLayout* window : {&dialogLayout(), &splashLayout(), &form1Layout()})
        EXPECT_NO_THROW(checkLayout(*window)) << window->name;
    const Twips place{0, 0, 100, 100};
    struct Case {
        const char* what;
        std::vector<Control> controls;
        const char* className;
        std::string fault;
    };
    const Case cases[] = {
        {"no window class", {}, "", "no name or no window class"},
        {"a name twice",
         {{"Label1", ControlKind::Label, Role::Caption, "", "a", place, 0},
          {"Label1", ControlKind::Label, Role::Caption, "", "b", place, 1}},
         "X",
         "Label1 is named twice"},
        {"a role of another kind",
         {{"Image1", ControlKind::Label, Role::ChatPicture, "", "", place, 0}},
         "X",
         "Image1's role belongs to another kind of control"},
        {"a parent that is no frame",
         {{"Label1", ControlKind::Label, Role::Caption, "", "a", place, 0},
          {"Label2", ControlKind::Label, Role::Caption, "Label1", "b", place, 1}},
         "X",
         "Label2 stands in Label1, which is no frame"},
        {"a parent the table lacks",
         {{"Label2", ControlKind::Label, Role::Caption, "Frame9", "b", place, 1}},
         "X",
         "Label2 stands in Frame9"},
        {"a caption label that is a value",
         {{"Label21", ControlKind::Label, Role::Value, "", "", place, 0, defaultFont,
           TextColour::Blue, true, "Label22"},
          {"Label22", ControlKind::Label, Role::Value, "", "", place, 1}},
         "X",
         "Label21 is named by Label22, which is no caption label"},
        {"frames in each other",
         {{"Frame1", ControlKind::Frame, Role::Frame, "Frame2", "", place, 0},
          {"Frame2", ControlKind::Frame, Role::Frame, "Frame1", "", place, 1}},
         "X",
         "frames enclose each other"},
    };
    for (const Case& c : cases) {
        const WindowLayout window{"Broken",
                                  c.className,
                                  "",
                                  WindowFrame::FixedDialog,
                                  StartPosition::Manual,
                                  {0, 0, 100, 100},
                                  false,
                                  c.controls};
        try {
            checkLayout(window);
            ADD_FAILURE() << c.what << ": not refused";
        } catch (const std::logic_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.fault), std::string::npos)
                << c.what << ": " << error.what();
        }
    }
}

// Three lists whose programmatic changes run the selection handler, as list boxes' do.
struct FakeLists {
    std::map<ModuleList, int> index{
        {ModuleList::Slots, -1}, {ModuleList::Memory, -1}, {ModuleList::Speed, -1}};
    std::vector<ModuleList> sets;

    ListSelection selection() {
        return {[this](ModuleList list) { return index.at(list); },
                [this](ModuleList list, int row) {
                    index[list] = row;
                    sets.push_back(list);
                    ASSERT_LT(sets.size(), 10u) << "the handlers call each other without end";
                }};
    }
};

TEST(ModuleListCoupling, ASelectionSpreadsToTheOtherTwoInOrder) {
    struct Case {
        ModuleList changed;
        int slots, memory, speed; // before the handler runs (the changed list's new row set)
        std::vector<ModuleList> sets;
    };
    using L = ModuleList;
    const Case cases[] = {
        {L::Slots, 2, -1, -1, {L::Memory, L::Speed}},
        {L::Memory, 0, 1, 0, {L::Slots, L::Speed}},
        {L::Speed, 3, 3, 1, {L::Memory, L::Slots}},
        {L::Memory, 1, 1, 0, {L::Speed}},            // slots already agrees
        {L::Slots, 2, 2, 2, {}},                     // nothing to do
        {L::Speed, 1, 1, -1, {L::Memory, L::Slots}}, // a cleared selection spreads too
    };
    for (const Case& c : cases) {
        FakeLists lists;
        lists.index = {{L::Slots, c.slots}, {L::Memory, c.memory}, {L::Speed, c.speed}};
        const int row = lists.index[c.changed];
        spreadSelection(lists.selection(), c.changed);
        EXPECT_EQ(lists.sets, c.sets) << "changed " << static_cast<int>(c.changed);
        for (const auto& [list, selected] : lists.index)
            EXPECT_EQ(selected, row) << "list " << static_cast<int>(list);
    }
}

} // namespace
