// The real windows, made with Windows' own controls, over a recorded machine: what the dialog
// manager, a screen reader and the user's mouse and keys find in them.

#include "TestMachine.h"
#include "forms/win32/Dialog.h"
#include "forms/win32/Form1.h"
#include "forms/win32/LayoutRules.h"
#include "forms/win32/frmSplash.h"
#include "platform/windows/Com.h"
#include "platform/windows/System.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace quorvin;
using namespace quorvin::win32forms;

namespace {

std::string classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return windows::toUtf8(name);
}

std::string textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return windows::toUtf8(text);
}

// The scanned results window, loaded by its scan and hidden, as the splash leaves it.
class ScannedForm1 : public ::testing::Test {
protected:
    void SetUp() override {
        form1 = std::make_unique<Form1>(ScanEnvironment{provider, NumberFormat{}, "store.test"},
                                        L"Z:\\nonexistent\\browser.exe", nullptr);
        ASSERT_EQ(form1->results().getQuorvin(), ScanValue::text("Success"));
        ASSERT_TRUE(form1->isLoaded());
    }
    HWND control(std::string_view name) const { return form1->control(name); }
    int selected(std::string_view list) const {
        return static_cast<int>(SendMessageW(control(list), LB_GETCURSEL, 0, 0));
    }

    windows::ComApartment apartment;
    snapshot::SnapshotProvider provider{quorvin::test::typicalMachine()};
    std::unique_ptr<Form1> form1;
};

const char* win32ClassOf(layout::ControlKind kind) {
    switch (kind) {
    case layout::ControlKind::Frame:
    case layout::ControlKind::CommandButton:
        return "Button";
    case layout::ControlKind::Label:
    case layout::ControlKind::Picture:
        return "Static";
    case layout::ControlKind::TextBox:
        return "Edit";
    case layout::ControlKind::ListBox:
        return "ListBox";
    case layout::ControlKind::Browser:
        return "AtlAxWin";
    }
    return "";
}

// Where the child stands in the window's client area.
RECT windowRectOf(HWND child, HWND window) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The control stands where its window's table places it at that DPI. A fixed text's label or
// button may have grown to hold its text (FixedTextsShowWholeOnOneLine), on the same line.
void expectPlacedByTheTable(const LayoutWindow& window, const layout::Control& entry, int dpi,
                            const std::string& where) {
    const RECT rect = windowRectOf(window.control(entry.name), window.hwnd());
    const layout::PixelRect expected = layout::toPixels(absolutePlace(window.layout(), entry), dpi);
    EXPECT_EQ(rect.top, expected.top) << where;
    EXPECT_EQ(rect.bottom - rect.top, expected.height) << where;
    if (layout::growsToHoldText(entry)) {
        EXPECT_LE(rect.left, expected.left) << where;
        EXPECT_GE(rect.right, expected.left + expected.width) << where;
    } else {
        EXPECT_EQ(rect.left, expected.left) << where;
        EXPECT_EQ(rect.right - rect.left, expected.width) << where;
    }
}

// The frame Windows suggests, moving the window to a screen of that DPI: its designed client
// area at that scale, at the screen's top left.
RECT designedFrame(const layout::WindowLayout& table, int dpi) {
    const WindowStyles styles = stylesFor(table);
    const RECT client{0, 0, layout::toPixels(table.client.width, dpi),
                      layout::toPixels(table.client.height, dpi)};
    return windows::windowRectForClient(client, styles.style, styles.exStyle, dpi);
}

TEST_F(ScannedForm1, EveryControlIsAChildWithItsIdClassPlaceAndVisibility) {
    const HWND window = form1->hwnd();
    EXPECT_EQ(classOf(window), "Quorvin.Form1");
    EXPECT_FALSE(IsWindowVisible(window)) << "not shown before the scan returned";
    const auto& controls = form1->layout().controls;
    const int dpi = form1->dpi();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const layout::Control& entry = controls[i];
        const HWND child = GetDlgItem(window, firstControlId + static_cast<int>(i));
        ASSERT_NE(child, nullptr) << entry.name;
        EXPECT_EQ(GetParent(child), window) << entry.name;
        EXPECT_STRCASEEQ(classOf(child).c_str(), win32ClassOf(entry.kind)) << entry.name;
        EXPECT_EQ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0, entry.visible)
            << entry.name;
        expectPlacedByTheTable(*form1, entry, dpi, std::string(entry.name));
        const bool valueLabel = !entry.captionLabel.empty();
        if (valueLabel) {
            EXPECT_NE(textOf(child), "Label21") << entry.name << " keeps its placeholder";
        } else if (entry.kind == layout::ControlKind::Label ||
                   entry.kind == layout::ControlKind::Frame ||
                   entry.kind == layout::ControlKind::CommandButton) {
            EXPECT_EQ(textOf(child), entry.caption) << entry.name;
        }
    }
    EXPECT_EQ(textOf(control("Label35")), "15.92 GB");
}

TEST_F(ScannedForm1, FixedBorderClientSizeAndTaskbarEntry) {
    const HWND window = form1->hwnd();
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_NE(exStyle & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    RECT client{};
    GetClientRect(window, &client);
    const layout::PixelRect expected = layout::toPixels(layout::form1Layout().client, form1->dpi());
    EXPECT_EQ(client.right, expected.width);
    EXPECT_EQ(client.bottom, expected.height);
}

TEST_F(ScannedForm1, ZOrderIsReadingOrderAndTabGoesRoundTheFiveStops) {
    // Windows' accessibility layer reads the children in z-order: each frame, then its contents,
    // each caption right before its value, each list right after its heading.
    std::vector<std::string> zOrder;
    for (HWND child = GetWindow(form1->hwnd(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        zOrder.push_back(std::string(form1->controlOf(child)->name));
    std::vector<std::string> reading;
    for (std::size_t index : readingOrder(form1->layout()))
        reading.push_back(std::string(form1->layout().controls[index].name));
    EXPECT_EQ(zOrder, reading);
    const std::pair<const char*, const char*> before[] = {
        {"slotsLst", "Label18"}, {"memoryLst", "Label19"}, {"speedLst", "Label20"},
        {"Label21", "Label1"},   {"Label1", "Frame2"},     {"Label41", "Label40"}};
    for (const auto& [control, previous] : before)
        EXPECT_EQ(GetWindow(this->control(control), GW_HWNDPREV), this->control(previous))
            << control;

    // Tab takes the layout's order, not z-order's, in the window's own message handling.
    ShowWindow(form1->hwnd(), SW_SHOW);
    SetFocus(control("slotsLst"));
    // The store frame's ring, drawn in its margin while the focus is in it and only then.
    const auto ringShown = [&] {
        const HWND frame = control("WB");
        UpdateWindow(frame);
        RECT area{};
        GetClientRect(frame, &area);
        const HDC dc = GetDC(frame);
        const COLORREF left = GetPixel(dc, 0, area.bottom / 2);
        const COLORREF bottom = GetPixel(dc, area.right / 2, area.bottom - 1);
        ReleaseDC(frame, dc);
        return left == GetSysColor(COLOR_HIGHLIGHT) && bottom == GetSysColor(COLOR_HIGHLIGHT);
    };
    EXPECT_FALSE(ringShown());
    const char* stops[] = {"clipboardCmd", "WB", "memoryLst", "speedLst", "slotsLst"};
    for (const char* stop : stops) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(form1->preTranslateMessage(tab));
        HWND focus = GetFocus();
        while (focus != nullptr && GetParent(focus) != form1->hwnd())
            focus = GetParent(focus);
        EXPECT_EQ(focus, control(stop)) << "Tab to " << stop;
        EXPECT_EQ(ringShown(), std::string_view(stop) == "WB") << "the ring at " << stop;
    }
}

TEST_F(ScannedForm1, ListsHaveThirteenPixelRowsAndMoveAsOne) {
    for (const char* list : {"slotsLst", "memoryLst", "speedLst"}) {
        EXPECT_EQ(SendMessageW(control(list), LB_GETITEMHEIGHT, 0, 0),
                  layout::toPixels(listRowTwips, form1->dpi()))
            << list;
        EXPECT_EQ(SendMessageW(control(list), LB_GETCOUNT, 0, 0), 2) << list;
        EXPECT_EQ(selected(list), -1) << list;
    }
    // The first Down in a list without a selection selects the first row, everywhere.
    SendMessageW(control("memoryLst"), WM_KEYDOWN, VK_DOWN, 0);
    for (const char* list : {"slotsLst", "memoryLst", "speedLst"})
        EXPECT_EQ(selected(list), 0) << list << " after Down";

    // A change in any list, by click or key, reaches the other two.
    const std::pair<const char*, int> changes[] = {
        {"speedLst", 1}, {"slotsLst", 0}, {"memoryLst", 1}, {"slotsLst", 1}};
    for (const auto& [list, row] : changes) {
        SendMessageW(control(list), LB_SETCURSEL, row, 0);
        SendMessageW(form1->hwnd(), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(control(list)), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(control(list)));
        for (const char* other : {"slotsLst", "memoryLst", "speedLst"})
            EXPECT_EQ(selected(other), row) << other << " after " << list << " row " << row;
    }

    // A click below the rows keeps the selection; a click on a row takes it.
    const int rowHeight =
        static_cast<int>(SendMessageW(control("slotsLst"), LB_GETITEMHEIGHT, 0, 0));
    const struct {
        int y;
        int expected;
    } clicks[] = {{rowHeight * 2 + 10, 1}, {rowHeight / 2, 0}, {rowHeight * 4, 0}};
    for (const auto& click : clicks) {
        SendMessageW(control("slotsLst"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, click.y));
        SendMessageW(control("slotsLst"), WM_LBUTTONUP, 0, MAKELPARAM(20, click.y));
        EXPECT_EQ(selected("slotsLst"), click.expected) << "click at y " << click.y;
        EXPECT_EQ(selected("speedLst"), click.expected) << "click at y " << click.y;
    }
}

TEST_F(ScannedForm1, TheStorePageIsSilentAndTheChatLinksTakeThePointer) {
    ASSERT_NE(form1->browser(), nullptr) << "Wine's atl.dll hosts Shell.Explorer.2";
    EXPECT_TRUE(form1->browser()->silent());
    EXPECT_EQ(form1->browser()->window(), control("WB"));
    for (const char* clickable : {"Image1", "Label39"})
        EXPECT_NE(GetWindowLongW(control(clickable), GWL_STYLE) & SS_NOTIFY, 0) << clickable;
    EXPECT_EQ(GetWindowLongW(control("Label21"), GWL_STYLE) & SS_NOTIFY, 0);
    EXPECT_NE(SendMessageW(control("Image1"), STM_GETIMAGE, IMAGE_ICON, 0), 0)
        << "the chat picture is loaded";
}

// The page's own window stands in a child of the container; a navigation replaces it.
TEST_F(ScannedForm1, ThePageTakesTheFocusOnlyFromTheUserAndGetsItBack) {
    ASSERT_NE(form1->browser(), nullptr);
    form1->show();
    ASSERT_EQ(GetFocus(), control("slotsLst"));
    const auto pageWindow = [&] {
        return CreateWindowExW(0, L"STATIC", L"page", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                               control("WB"), nullptr, nullptr, nullptr);
    };
    HWND page = pageWindow();
    SetFocus(page); // the page's focus() or autofocus field while it loads
    EXPECT_EQ(GetFocus(), control("slotsLst")) << "loading took the focus";

    // Tab into the page; inside it the page moves the focus as it likes.
    MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    form1->preTranslateMessage(tab); // clipboardCmd
    tab.hwnd = GetFocus();
    form1->preTranslateMessage(tab);
    ASSERT_TRUE(form1->browser()->contains(GetFocus()));
    SetFocus(page);
    EXPECT_EQ(GetFocus(), page);

    // Away and back, the page navigated meanwhile: the focus is in the browser again.
    SendMessageW(form1->hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(control("memoryLst"));
    DestroyWindow(page);
    page = pageWindow();
    SendMessageW(form1->hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(form1->browser()->contains(GetFocus())) << "the focus is not back in the page";
}

TEST_F(ScannedForm1, DrawsAgainInTheNewColoursWhenTheSchemeChanges) {
    // The colours a label is given (high contrast is off here: Wine cannot turn it on).
    const HDC dc = CreateCompatibleDC(nullptr);
    const std::pair<const char*, COLORREF> colours[] = {{"Label21", RGB(0, 0, 255)},
                                                        {"Label39", RGB(0, 0, 255)},
                                                        {"Label1", GetSysColor(COLOR_BTNTEXT)}};
    for (const auto& [label, colour] : colours) {
        SendMessageW(form1->hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control(label)));
        EXPECT_EQ(GetTextColor(dc), colour) << label;
    }
    DeleteDC(dc);

    ShowWindow(form1->hwnd(), SW_SHOWNOACTIVATE);
    const struct {
        UINT message;
        WPARAM wParam;
        bool repaints;
    } changes[] = {{WM_SYSCOLORCHANGE, 0, true},
                   {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, true},
                   {WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, false}};
    for (const auto& change : changes) {
        RedrawWindow(form1->hwnd(), nullptr, nullptr,
                     RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_ALLCHILDREN);
        ASSERT_FALSE(GetUpdateRect(control("Label21"), nullptr, FALSE));
        SendMessageW(form1->hwnd(), change.message, change.wParam, 0);
        for (const char* name : {"Label21", "Label39", "Frame2", "Label1"})
            EXPECT_EQ(GetUpdateRect(control(name), nullptr, FALSE) != FALSE, change.repaints)
                << name << " after message " << change.message << " (" << change.wParam << ")";
    }
}

TEST_F(ScannedForm1, TheBrowsersReferencesGoWithTheWindow) {
    ASSERT_NE(form1->browser(), nullptr);
    form1->unload();
    EXPECT_EQ(form1->browser(), nullptr) << "released on WM_DESTROY, before ATL's container went";
}

TEST(DisclaimerAndSplash, OwnedByTheHiddenWindowNeverToolWindows) {
    windows::ComApartment apartment;
    Dialog dialog({}, nullptr);
    frmSplash splash({}, nullptr);
    dialog.show();
    splash.show();
    struct Case {
        LayoutWindow* window;
        const char* className;
        bool titleBar;
    };
    const Case cases[] = {{&dialog, "Quorvin.Dialog", true}, {&splash, "Quorvin.frmSplash", false}};
    for (const Case& c : cases) {
        const HWND window = c.window->hwnd();
        EXPECT_EQ(classOf(window), c.className);
        const HWND owner = GetWindow(window, GW_OWNER);
        ASSERT_NE(owner, nullptr) << c.className;
        EXPECT_EQ(classOf(owner), "Quorvin.Owner");
        EXPECT_FALSE(IsWindowVisible(owner));
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, c.titleBar) << c.className;
        EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0) << c.className;
        EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), 0)
            << c.className;
    }
    EXPECT_EQ(textOf(dialog.control("Text1")).size(), 920u);
    EXPECT_EQ(windows::toWide(textOf(dialog.control("Text1"))).size(), 920u);
    EXPECT_NE(GetWindowLongW(dialog.control("Text1"), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(textOf(splash.control("Label2")), "Scanning Please Wait......");

    // The splash tells the sequence of its paints, its ticks and a character, nothing else.
    int painted = 0, ticked = 0, characters = 0;
    frmSplash told({[&] { ++ticked; }, [&] { ++painted; }, [&] { ++characters; }}, nullptr);
    told.show();
    UpdateWindow(told.hwnd());
    EXPECT_GE(painted, 1);
    SendMessageW(told.hwnd(), WM_CHAR, 'x', 0);
    SendMessageW(told.hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(characters, 1) << "a character, not an arrow";
    MSG message{};
    for (const ULONGLONG until = GetTickCount64() + 2000; ticked == 0 && GetTickCount64() < until;)
        if (PeekMessageW(&message, told.hwnd(), 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    EXPECT_GT(ticked, 0) << "Timer1 ticks from the load";
}

} // namespace

namespace {

// A move to a screen of another scale places and letters every control again at its DPI, in the
// rectangle Windows suggests.
TEST_F(ScannedForm1, LaysItselfOutAgainAtTheNewDpi) {
    const int from = form1->dpi();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (const int dpi : {120, 144, from}) {
        // The designed frame at the new scale; the first one reaches past the screen's right
        // edge, as a window does that Windows moves across two screens.
        RECT suggested = designedFrame(form1->layout(), dpi);
        const long left = dpi == 120 ? work.right - 200 : 10;
        OffsetRect(&suggested, left - suggested.left, 20 - suggested.top);
        SendMessageW(form1->hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(form1->dpi(), dpi);
        RECT outer{};
        GetWindowRect(form1->hwnd(), &outer);
        EXPECT_TRUE(EqualRect(&outer, &suggested))
            << "at " << dpi << ": " << outer.left << "," << outer.top << " " << outer.right << ","
            << outer.bottom << " instead of " << suggested.left << "," << suggested.top << " "
            << suggested.right << "," << suggested.bottom;
        EXPECT_EQ(form1->heightCut(), 0) << dpi;
        for (const char* name : {"slotsLst", "WB", "Label35", "clipboardCmd", "Frame9"})
            expectPlacedByTheTable(*form1, form1->layout().at(name), dpi,
                                   std::string(name) + " at " + std::to_string(dpi));
        EXPECT_EQ(SendMessageW(control("memoryLst"), LB_GETITEMHEIGHT, 0, 0),
                  layout::toPixels(listRowTwips, dpi));
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("Label1"), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -fontPixelHeight(8.25, dpi)) << dpi;
        EXPECT_EQ(font.lfWeight, FW_BOLD) << "Label1 is a caption label";
        EXPECT_EQ(std::wstring(font.lfFaceName),
                  dpi == 96 ? L"MS Sans Serif" : L"Microsoft Sans Serif")
            << "the bitmap face at 96 DPI only";
    }
}

// Every fixed text of the three windows, measured in the font its control got, at each DPI: a
// label's one line lies wholly in what the label shows of itself (its box, less the controls
// drawn over it, the copy button over the chat link), a button's caption and a frame's caption
// fit their control.
SIZE measuredText(HWND control, std::string_view text) {
    const std::wstring wide = windows::toWide(text);
    const HDC dc = GetDC(control);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT extent{};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return {extent.right - extent.left, extent.bottom - extent.top};
}

// The part of the label's text rectangle (left-aligned, or centred) that the label does not
// show: outside its box or its window region.
bool textHidden(HWND label, SIZE text) {
    RECT box{};
    GetClientRect(label, &box);
    const bool centred = (GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK) == SS_CENTER;
    const int left = centred ? (box.right - text.cx) / 2 : 0;
    const HRGN shown = CreateRectRgnIndirect(&box);
    const HRGN own = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(label, own) != ERROR)
        CombineRgn(shown, shown, own, RGN_AND);
    const HRGN hidden = CreateRectRgn(left, 0, left + text.cx, text.cy);
    const int kind = CombineRgn(hidden, hidden, shown, RGN_DIFF);
    for (HRGN region : {shown, own, hidden})
        DeleteObject(region);
    return kind != NULLREGION;
}

TEST_F(ScannedForm1, FixedTextsShowWholeOnOneLine) {
    Dialog dialog({}, nullptr);
    frmSplash splash({}, nullptr);
    dialog.show();
    splash.show();
    for (LayoutWindow* window :
         std::initializer_list<LayoutWindow*>{&dialog, &splash, form1.get()}) {
        const layout::WindowLayout& table = window->layout();
        for (const int dpi : {96, 120, 144, 192}) {
            RECT suggested = designedFrame(table, dpi);
            SendMessageW(window->hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
            ASSERT_EQ(window->dpi(), dpi);
            for (const layout::Control& entry : table.controls) {
                if (!layout::showsFixedText(entry) || !entry.visible)
                    continue;
                const HWND control = window->control(entry.name);
                const SIZE text = measuredText(control, entry.caption);
                const RECT place = windowRectOf(control, window->hwnd());
                const int width = place.right - place.left;
                const std::string where = std::string(table.name) + "." + std::string(entry.name) +
                                          " at " + std::to_string(dpi) + " DPI, " +
                                          std::to_string(text.cx) + " px wide in " +
                                          std::to_string(width);
                switch (entry.kind) {
                case layout::ControlKind::Label: {
                    EXPECT_FALSE(textHidden(control, text)) << where;
                    EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK,
                              layout::growsAboutCentre(table, entry) ? SS_CENTER
                                                                     : SS_LEFTNOWORDWRAP)
                        << where;
                    RECT within{};
                    if (const layout::Control* frame = table.find(entry.parent))
                        within = windowRectOf(window->control(frame->name), window->hwnd());
                    else
                        GetClientRect(window->hwnd(), &within);
                    EXPECT_TRUE(place.left >= within.left && place.right <= within.right)
                        << where << ": outside its frame";
                    break;
                }
                case layout::ControlKind::CommandButton:
                    // Inside the button's edges and focus rectangle.
                    EXPECT_LE(text.cx + 4 * GetSystemMetrics(SM_CXEDGE), width) << where;
                    break;
                default:
                    // A frame's caption stands on its top edge, indented by a character or so.
                    EXPECT_LE(text.cx + 2 * text.cy, width) << where;
                    break;
                }
            }
        }
    }
}

} // namespace
