// The pure rules the Win32 windows are built by: places, creation order, fonts, styles, the
// coupling of the module lists.

#include "forms/win32/ControlOrder.h"
#include "forms/win32/Fonts.h"
#include "forms/win32/ModuleListCoupling.h"
#include "forms/win32/WindowStyles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using namespace quorvin;
using namespace quorvin::win32;

namespace {

const layout::WindowLayout& layoutNamed(const std::string& name) {
    if (name == "Dialog")
        return layout::dialogLayout();
    if (name == "frmSplash")
        return layout::splashLayout();
    return layout::form1Layout();
}

TEST(ControlPlace, AddsTheFramesOffsets) {
    struct Case {
        const char* window;
        const char* control;
        layout::Twips place;
    };
    const Case cases[] = {
        {"Dialog", "Text1", {120, 240, 5895, 3975}},
        {"Dialog", "Frame1", {0, 0, 6135, 4815}},
        {"Form1", "Frame2", {120, 0, 6015, 2055}},          // Frame1 starts 120 above
        {"Form1", "Label21", {1680, 240, 4215, 255}},       // Frame1 + Frame2
        {"Form1", "slotsLst", {240, 4200, 3855, 1620}},     // Frame1 + Frame7
        {"Form1", "WB", {120, 6120, 11535, 4335}},          // Frame1 + Frame9
        {"Form1", "clipboardCmd", {8520, 5400, 2415, 375}}, // Frame1 + Frame8
        {"frmSplash", "Label2", {240, 720, 3135, 375}},
    };
    for (const Case& c : cases) {
        const auto& window = layoutNamed(c.window);
        const layout::Twips place = absolutePlace(window, window.at(c.control));
        EXPECT_EQ(layout::toPixels(place, 96), layout::toPixels(c.place, 96))
            << c.window << "." << c.control << " at " << place.left << "," << place.top;
    }
}

TEST(CreationOrder, TabStopsFirstInTabOrderThenLabelsThenFramesInnermostFirst) {
    for (const char* name : {"Dialog", "frmSplash", "Form1"}) {
        const auto& window = layoutNamed(name);
        const std::vector<std::size_t> order = creationOrder(window);
        std::vector<std::string_view> names;
        for (std::size_t i : order)
            names.push_back(window.controls[i].name);
        const auto position = [&](std::string_view control) {
            return std::find(names.begin(), names.end(), control) - names.begin();
        };

        // Every control exactly once.
        std::vector<std::size_t> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted.size(), window.controls.size()) << name;
        for (std::size_t i = 0; i < sorted.size(); ++i)
            EXPECT_EQ(sorted[i], i) << name;

        // The dialog manager's Tab order (z-order among the stops) is the layout's.
        std::vector<std::string_view> stopsInOrder;
        for (std::string_view control : names)
            if (layout::takesFocus(window.at(control).kind))
                stopsInOrder.push_back(control);
        std::vector<std::string_view> expectedStops;
        for (const layout::Control* stop : window.tabStops())
            expectedStops.push_back(stop->name);
        EXPECT_EQ(stopsInOrder, expectedStops) << name;

        // No frame lies above anything that is not a frame, and a frame lies below the frames
        // inside it.
        for (const layout::Control& control : window.controls) {
            if (control.parent.empty())
                continue;
            EXPECT_LT(position(control.name), position(control.parent))
                << name << ": " << control.name << " must lie above " << control.parent;
        }
        // Each value label lies above its caption label, which may reach under it.
        for (const layout::Control& control : window.controls) {
            if (!control.captionLabel.empty() && !layout::takesFocus(control.kind)) {
                EXPECT_EQ(position(control.captionLabel), position(control.name) + 1)
                    << name << "." << control.name;
            }
        }
        // Windowed controls lie above every label and the picture.
        std::ptrdiff_t lastStop = -1;
        for (std::string_view control : expectedStops)
            lastStop = std::max(lastStop, position(control));
        for (const layout::Control& control : window.controls) {
            const bool heading = std::any_of(
                window.controls.begin(), window.controls.end(), [&](const layout::Control& c) {
                    return layout::takesFocus(c.kind) && c.captionLabel == control.name;
                });
            if (control.kind == layout::ControlKind::Label && !heading) {
                EXPECT_GT(position(control.name), lastStop) << name << "." << control.name;
            }
        }
    }
}

TEST(CreationOrder, EachListComesRightAfterItsHeading) {
    const auto& form1 = layout::form1Layout();
    std::vector<std::string_view> names;
    for (std::size_t i : creationOrder(form1))
        names.push_back(form1.controls[i].name);
    struct Heading {
        std::string_view list, label;
    };
    for (const Heading heading : {Heading{"slotsLst", "Label18"}, Heading{"memoryLst", "Label19"},
                                  Heading{"speedLst", "Label20"}}) {
        const auto list = std::find(names.begin(), names.end(), heading.list);
        ASSERT_NE(list, names.begin()) << heading.list;
        EXPECT_EQ(*(list - 1), heading.label) << heading.list;
    }
}

TEST(Fonts, PointsBecomePixelsAtTheDpi) {
    struct Case {
        double points;
        int dpi;
        int pixels;
    };
    const Case cases[] = {{8.25, 96, 11},  {8.25, 120, 14},  {8.25, 144, 17}, {8.25, 192, 22},
                          {15.75, 96, 21}, {15.75, 192, 42}, {18, 96, 24},    {18, 144, 36}};
    for (const Case& c : cases)
        EXPECT_EQ(fontPixelHeight(c.points, c.dpi), c.pixels) << c.points << " pt at " << c.dpi;
}

TEST(WindowStyles, FixedFramesNoToolWindowsTaskbarOnlyForForm1) {
    struct Case {
        const char* window;
        bool titleBar;
        bool minimize;
        bool appWindow;
    };
    const Case cases[] = {
        {"Dialog", true, false, false},
        {"frmSplash", false, false, false},
        {"Form1", true, true, true},
    };
    for (const Case& c : cases) {
        const WindowStyles styles = stylesFor(layoutNamed(c.window));
        EXPECT_EQ((styles.style & WS_CAPTION) == WS_CAPTION, c.titleBar) << c.window;
        EXPECT_EQ((styles.style & WS_SYSMENU) != 0, c.titleBar) << c.window << " close box";
        EXPECT_EQ((styles.style & WS_MINIMIZEBOX) != 0, c.minimize) << c.window;
        EXPECT_EQ((styles.exStyle & WS_EX_APPWINDOW) != 0, c.appWindow) << c.window;
        EXPECT_EQ(styles.style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0u) << c.window;
        EXPECT_EQ(styles.exStyle & WS_EX_TOOLWINDOW, 0u) << c.window;
        EXPECT_NE(styles.style & WS_DLGFRAME, 0u) << c.window << " has a fixed frame";
    }
}

TEST(WindowStyles, OnlyTheTwoLineChatLinkWraps) {
    struct Case {
        const char* window;
        const char* label;
        bool wraps;
    };
    const Case cases[] = {
        {"Form1", "Label39", true},     {"Form1", "Label21", false},    {"Form1", "Label5", false},
        {"frmSplash", "Label2", false}, {"frmSplash", "Label1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(labelWraps(layoutNamed(c.window).at(c.label)), c.wraps) << c.label;
}

TEST(WindowPlace, ClientAreaWhereTheLayoutPutsItOrCentred) {
    struct Case {
        const char* window;
        int dpi;
        SIZE screen;
        RECT client;
    };
    const Case cases[] = {
        {"Dialog", 96, {1600, 1200}, {335, 141, 335 + 410, 141 + 322}},
        {"Form1", 96, {1600, 1200}, {123, 22, 123 + 785, 22 + 706}},
        {"Form1", 192, {3200, 2400}, {246, 44, 246 + 1570, 44 + 1412}},
        // The size is the twips of the size, not of the rounded edges: 1178, not 1177.
        {"Form1", 144, {2400, 1800}, {185, 33, 185 + 1178, 33 + 1059}},
        {"frmSplash", 96, {1600, 1200}, {679, 561, 679 + 242, 561 + 78}},
        {"frmSplash", 192, {1280, 1024}, {398, 434, 398 + 484, 434 + 156}},
    };
    for (const Case& c : cases) {
        const RECT rect = clientRectOnScreen(layoutNamed(c.window), c.dpi, c.screen);
        EXPECT_EQ(rect.left, c.client.left) << c.window << " at " << c.dpi;
        EXPECT_EQ(rect.top, c.client.top) << c.window << " at " << c.dpi;
        EXPECT_EQ(rect.right, c.client.right) << c.window << " at " << c.dpi;
        EXPECT_EQ(rect.bottom, c.client.bottom) << c.window << " at " << c.dpi;
    }
}

// Three lists whose programmatic changes run the selection handler, as list boxes' do.
class FakeLists : public ListSelection {
public:
    std::map<ModuleList, int> index{
        {ModuleList::Slots, -1}, {ModuleList::Memory, -1}, {ModuleList::Speed, -1}};
    std::vector<ModuleList> sets;

    int selectedIndex(ModuleList list) const override { return index.at(list); }
    void setSelectedIndex(ModuleList list, int row) override {
        index[list] = row;
        sets.push_back(list);
        ASSERT_LT(sets.size(), 10u) << "the handlers call each other without end";
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
        spreadSelection(lists, c.changed);
        EXPECT_EQ(lists.sets, c.sets) << "changed " << static_cast<int>(c.changed);
        for (const auto& [list, selected] : lists.index)
            EXPECT_EQ(selected, row) << "list " << static_cast<int>(list);
    }
}

} // namespace
