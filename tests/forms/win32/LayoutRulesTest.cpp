// The pure rules the Win32 windows are built by: places, creation order, fonts, styles.

#include "forms/win32/LayoutRules.h"
#include "forms/WindowLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace quorvin;
using namespace quorvin::win32forms;

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

std::vector<std::string_view> namesIn(const layout::WindowLayout& window,
                                      const std::vector<std::size_t>& order) {
    std::vector<std::string_view> names;
    for (std::size_t i : order)
        names.push_back(window.controls[i].name);
    return names;
}

TEST(ReadingOrder, EachFrameThenItsContentsEachCaptionRightBeforeWhatItNames) {
    for (const char* name : {"Dialog", "frmSplash", "Form1"}) {
        const auto& window = layoutNamed(name);
        const std::vector<std::size_t> order = readingOrder(window);
        const std::vector<std::string_view> names = namesIn(window, order);
        const auto position = [&](std::string_view control) {
            return std::find(names.begin(), names.end(), control) - names.begin();
        };
        // Every control exactly once.
        std::vector<std::size_t> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted.size(), window.controls.size()) << name;
        for (std::size_t i = 0; i < sorted.size(); ++i)
            EXPECT_EQ(sorted[i], i) << name;
        for (const layout::Control& control : window.controls) {
            if (!control.parent.empty()) {
                EXPECT_GT(position(control.name), position(control.parent))
                    << name << ": " << control.name << " is read before its frame";
            }
            if (!control.captionLabel.empty()) {
                EXPECT_EQ(position(control.captionLabel) + 1, position(control.name))
                    << name << ": " << control.captionLabel << " is not read right before "
                    << control.name;
            }
        }
    }
    // Form1 as a screen reader goes through it.
    const auto& form1 = layout::form1Layout();
    const std::vector<std::string_view> names = namesIn(form1, readingOrder(form1));
    const std::vector<std::vector<std::string_view>> runs = {
        {"Frame1", "Frame2", "Label1", "Label21", "Label2", "Label22", "Label4", "Label24"},
        {"Frame3", "Label6", "Label27", "Label7", "Label28", "Label40", "Label41", "Label8"},
        {"Frame7", "Label18", "slotsLst", "Label19", "memoryLst", "Label20", "speedLst", "Frame8",
         "Image1", "Label39", "clipboardCmd", "Frame9", "WB"},
    };
    for (const auto& run : runs)
        EXPECT_NE(std::search(names.begin(), names.end(), run.begin(), run.end()), names.end())
            << run.front() << "...: not read in this order";
}

TEST(DrawnOver, WhatTheDesignDrawsOnTopIsLeftToItWhereverZOrderDiffers) {
    // Every overlap the reading order turns round is left to the control drawn on top.
    for (const char* name : {"Dialog", "frmSplash", "Form1"}) {
        const auto& window = layoutNamed(name);
        const auto over = drawnOver(window);
        const auto rankIn = [&](const std::vector<std::size_t>& order) {
            std::vector<std::size_t> rank(order.size());
            for (std::size_t r = 0; r < order.size(); ++r)
                rank[order[r]] = r;
            return rank;
        };
        const auto zRank = rankIn(readingOrder(window));
        const auto drawRank = rankIn(drawingOrder(window));
        for (std::size_t a = 0; a < window.controls.size(); ++a) {
            const layout::PixelRect pa =
                layout::toPixels(absolutePlace(window, window.controls[a]), 96);
            for (std::size_t b = 0; b < window.controls.size(); ++b) {
                const layout::PixelRect pb =
                    layout::toPixels(absolutePlace(window, window.controls[b]), 96);
                const bool overlapping = pa.left < pb.left + pb.width &&
                                         pb.left < pa.left + pa.width &&
                                         pa.top < pb.top + pb.height && pb.top < pa.top + pa.height;
                const bool turned = zRank[a] < zRank[b] && drawRank[b] < drawRank[a];
                const bool left = std::count(over[a].begin(), over[a].end(), b) == 1;
                if (overlapping && turned && window.controls[b].visible) {
                    EXPECT_TRUE(left) << name << ": " << window.controls[a].name << " would hide "
                                      << window.controls[b].name;
                } else {
                    EXPECT_FALSE(left) << name << ": " << window.controls[a].name << " leaves "
                                       << window.controls[b].name << " for nothing";
                }
            }
        }
    }
    struct Case {
        const char* window;
        const char* control;
        std::vector<std::string_view> over;
    };
    const Case cases[] = {
        {"Form1", "Label5", {"Label25"}},       // "Identifying No" reaches under its value
        {"Form1", "Label39", {"clipboardCmd"}}, // the chat link's second line under the button
        {"Form1", "Label21", {}},
        {"Form1", "Frame9", {"WB"}},
        {"Form1", "slotsLst", {}}, // the lists overlap by 15 twips, in the same order both ways
        {"Dialog", "Frame1", {"Text1", "CancelButton", "OKButton"}},
        {"frmSplash", "Label1", {}},
    };
    for (const Case& c : cases) {
        const auto& window = layoutNamed(c.window);
        const auto over = drawnOver(window)[&window.at(c.control) - window.controls.data()];
        std::vector<std::string_view> names = namesIn(window, over);
        std::sort(names.begin(), names.end());
        std::vector<std::string_view> expected = c.over;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected) << c.window << "." << c.control;
    }
}

TEST(TabOrder, TheLayoutsTabIndexesRoundTheWindow) {
    struct Case {
        const char* window;
        const char* from;
        bool backwards;
        const char* to; // nullptr: no stop
    };
    const Case cases[] = {
        {"Form1", "slotsLst", false, "clipboardCmd"},
        {"Form1", "clipboardCmd", false, "WB"},
        {"Form1", "WB", false, "memoryLst"},
        {"Form1", "memoryLst", false, "speedLst"},
        {"Form1", "speedLst", false, "slotsLst"},
        {"Form1", "slotsLst", true, "speedLst"},
        {"Form1", "WB", true, "clipboardCmd"},
        {"Form1", "Label21", false, "slotsLst"},
        {"Form1", "", true, "speedLst"},
        {"Dialog", "Text1", false, "CancelButton"},
        {"Dialog", "CancelButton", false, "OKButton"},
        {"Dialog", "OKButton", false, "Text1"},
        {"frmSplash", "", false, nullptr},
    };
    for (const Case& c : cases) {
        const layout::Control* next = nextTabStop(layoutNamed(c.window), c.from, c.backwards);
        EXPECT_EQ(next ? next->name : std::string_view("(none)"),
                  c.to ? std::string_view(c.to) : std::string_view("(none)"))
            << c.window << " from " << c.from << (c.backwards ? " backwards" : "");
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

TEST(Fonts, TheBitmapSansSerifOnlyAt96DpiItsTrueTypeTwinElsewhere) {
    struct Case {
        const char* family;
        int dpi;
        const wchar_t* face;
    };
    const Case cases[] = {{"MS Sans Serif", 96, L"MS Sans Serif"},
                          {"MS Sans Serif", 120, L"Microsoft Sans Serif"},
                          {"MS Sans Serif", 144, L"Microsoft Sans Serif"},
                          {"MS Sans Serif", 192, L"Microsoft Sans Serif"},
                          {"Times New Roman", 96, L"Times New Roman"},
                          {"Times New Roman", 144, L"Times New Roman"}};
    for (const Case& c : cases)
        EXPECT_EQ(faceAt(c.family, c.dpi), c.face) << c.family << " at " << c.dpi;
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

TEST(WindowStyles, AFixedTextNeverWraps) {
    struct Case {
        const char* window;
        const char* label;
        bool wraps;
    };
    const Case cases[] = {
        {"Form1", "Label39", false},    {"Form1", "Label21", false},    {"Form1", "Label5", false},
        {"frmSplash", "Label2", false}, {"frmSplash", "Label1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(labelWraps(layoutNamed(c.window).at(c.label)), c.wraps) << c.label;
    // A value two lines high would wrap; the chat link as high does not.
    layout::Control tallValue = layout::form1Layout().at("Label21");
    tallValue.place.height = 375;
    EXPECT_TRUE(labelWraps(tallValue));
}

TEST(WindowPlace, ClientAreaWhereTheLayoutPutsItOrCentredInTheWorkArea) {
    struct Case {
        const char* window;
        int dpi;
        RECT work;
        RECT client;
    };
    const Case cases[] = {
        {"Dialog", 96, {0, 0, 1600, 1200}, {335, 141, 335 + 410, 141 + 322}},
        {"Form1", 96, {0, 0, 1600, 1200}, {123, 22, 123 + 785, 22 + 706}},
        {"Form1", 192, {0, 0, 3200, 2400}, {246, 44, 246 + 1570, 44 + 1412}},
        // The size is the twips of the size, not of the rounded edges: 1178, not 1177.
        {"Form1", 144, {0, 0, 2400, 1800}, {185, 33, 185 + 1178, 33 + 1059}},
        {"frmSplash", 96, {0, 0, 1600, 1200}, {679, 561, 679 + 242, 561 + 78}},
        {"frmSplash", 192, {0, 0, 1280, 1024}, {398, 434, 398 + 484, 434 + 156}},
        // A taskbar at the bottom or on the left: centred in what is left of the screen.
        {"frmSplash", 96, {0, 0, 1600, 1160}, {679, 541, 679 + 242, 541 + 78}},
        {"frmSplash", 96, {62, 0, 1366, 768}, {593, 345, 593 + 242, 345 + 78}},
    };
    for (const Case& c : cases) {
        const RECT rect = clientRectOnScreen(layoutNamed(c.window), c.dpi, c.work);
        EXPECT_EQ(rect.left, c.client.left) << c.window << " at " << c.dpi;
        EXPECT_EQ(rect.top, c.client.top) << c.window << " at " << c.dpi;
        EXPECT_EQ(rect.right, c.client.right) << c.window << " at " << c.dpi;
        EXPECT_EQ(rect.bottom, c.client.bottom) << c.window << " at " << c.dpi;
    }
}

TEST(WindowFit, InsideTheWorkAreaMovedInOrShortenedByAtMostWhatTheBrowserGives) {
    struct Case {
        const char* what;
        RECT designed;
        RECT work;
        int mostCut;
        RECT frame;
        int cut;
    };
    const RECT hd{0, 0, 1920, 1040}; // 1920x1080 with a 40-pixel taskbar at the bottom
    const Case cases[] = {
        {"fits: its designed place", {100, 50, 900, 800}, hd, 200, {100, 50, 900, 800}, 0},
        {"below the work area: moved up", {100, 500, 900, 1100}, hd, 200, {100, 440, 900, 1040}, 0},
        {"right of it: moved left", {1500, 50, 2100, 400}, hd, 200, {1320, 50, 1920, 400}, 0},
        {"above and left of it: moved in",
         {-30, -8, 770, 700},
         {0, 40, 1366, 768},
         0,
         {0, 40, 800, 748},
         0},
        {"taller: the work area's height",
         {176, -3, 1370, 1128},
         hd,
         300,
         {176, 0, 1370, 1040},
         91},
        {"taller than the browser gives: the title bar stays",
         {176, -3, 1370, 1128},
         hd,
         50,
         {176, 0, 1370, 1081},
         50},
        {"no browser: not shortened", {0, 0, 400, 1200}, hd, 0, {0, 0, 400, 1200}, 0},
        {"wider: its left edge on the screen", {-10, 10, 2000, 500}, hd, 0, {0, 10, 2010, 500}, 0},
    };
    for (const Case& c : cases) {
        const FittedWindow fitted = fitInWorkArea(c.designed, c.work, c.mostCut);
        EXPECT_TRUE(EqualRect(&fitted.frame, &c.frame))
            << c.what << ": " << fitted.frame.left << "," << fitted.frame.top << " "
            << fitted.frame.right << "," << fitted.frame.bottom;
        EXPECT_EQ(fitted.heightCut, c.cut) << c.what;
    }
    // Only the browser and the frames holding it give way, by at most three quarters of it.
    const auto& form1 = layout::form1Layout();
    for (const layout::Control& control : form1.controls) {
        const bool holdsBrowser =
            control.name == "WB" || control.name == "Frame9" || control.name == "Frame1";
        EXPECT_EQ(givesWay(form1, control), holdsBrowser) << control.name;
    }
    EXPECT_EQ(mostHeightCut(form1, 96), 289 - 72);
    EXPECT_EQ(mostHeightCut(layout::dialogLayout(), 144), 0);
}

TEST(WindowFit, AScaleChangeTakesTheSuggestedRectangleAsItIs) {
    struct Case {
        const char* what;
        RECT suggested;
        int cut;
    };
    // The designed frame at the new scale is 1200x900; the browser gives at most 300.
    const RECT designed{0, 0, 1200, 900};
    const Case cases[] = {
        {"on one screen", {100, 60, 1300, 960}, 0},
        {"straddling two screens side by side", {1500, 200, 2700, 1100}, 0},
        {"straddling one above the other", {40, 700, 1240, 1600}, 0},
        {"partly off every screen", {-400, -20, 800, 880}, 0},
        {"a shortened window, scaled", {0, 0, 1200, 720}, 180},
        {"shorter than the browser gives", {0, 0, 1200, 400}, 300},
        {"taller than designed", {0, 0, 1200, 950}, 0},
    };
    for (const Case& c : cases) {
        const FittedWindow fitted = takeSuggested(c.suggested, designed, 300);
        EXPECT_TRUE(EqualRect(&fitted.frame, &c.suggested))
            << c.what << ": " << fitted.frame.left << "," << fitted.frame.top << " "
            << fitted.frame.right << "," << fitted.frame.bottom;
        EXPECT_EQ(fitted.heightCut, c.cut) << c.what;
    }
}

TEST(ControlColours, DesignedBlueOrTheUsersHighContrastColours) {
    struct Case {
        const char* window;
        const char* control;
        bool highContrast;
        Colour text;
        Colour background;
    };
    const Colour face = systemColour(COLOR_BTNFACE);
    const Case cases[] = {
        {"Form1", "Label21", false, designedBlue, face},
        {"Form1", "Label21", true, systemColour(COLOR_BTNTEXT), face},
        {"Form1", "Label39", false, designedBlue, face},
        {"Form1", "Label39", true, systemColour(COLOR_HOTLIGHT), face},
        {"Form1", "Label1", false, systemColour(COLOR_BTNTEXT), face},
        {"Form1", "Frame2", true, systemColour(COLOR_BTNTEXT), face},
        {"frmSplash", "Label1", false, designedBlue, face},
        {"frmSplash", "Label1", true, systemColour(COLOR_BTNTEXT), face},
        {"Dialog", "Text1", false, systemColour(COLOR_WINDOWTEXT), systemColour(COLOR_WINDOW)},
        {"Dialog", "Text1", true, systemColour(COLOR_WINDOWTEXT), systemColour(COLOR_WINDOW)},
    };
    for (const Case& c : cases) {
        const layout::Control& control = layoutNamed(c.window).at(c.control);
        EXPECT_EQ(textColour(control, c.highContrast), c.text)
            << c.window << "." << c.control << (c.highContrast ? " in high contrast" : "");
        EXPECT_EQ(backgroundColour(control), c.background) << c.window << "." << c.control;
    }
}

} // namespace
