#pragma once

#include "scan/ScanRecord.h"

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The three windows as data: every control's kind, parent, caption, place in twips, tab index,
// font and colour, read alike by the Qt windows and the Win32 ones.
namespace quorvin::layout {

// The program's title: the caption of Dialog and Form1 and of every message box.
inline constexpr std::string_view programTitle = "Quorvin - System Memory Information";

inline constexpr int twipsPerInch = 1440;

// A place or size in twips, relative to the parent's client area.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Twips at a screen's dots per inch, rounded to the nearest pixel (15 twips a pixel at 96 DPI,
// 10 at 144). Edges are rounded, not sizes, so neighbours that touch in twips touch in pixels.
int toPixels(int twips, int dpi);
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};
PixelRect toPixels(const Twips& twips, int dpi);

enum class ControlKind {
    Frame,         // group box, caption on its top edge (none when the caption is empty)
    Label,         // static text
    TextBox,       // multi-line, read-only, vertical scroll bar
    CommandButton, // push button
    ListBox,       // single selection, unsorted, vertical scroll bar when needed
    Picture,       // the chat picture
    Browser,       // the embedded web browser
};

// True for the kinds that take the keyboard focus and so stand in the Tab order.
bool takesFocus(ControlKind kind);

// What a control is for, which the front ends act on: each kind of control has its roles.
enum class Role {
    Frame,        // a group box (Frame)
    Caption,      // fixed text: a caption label, a list's heading, the splash's texts (Label)
    Value,        // a value label the scan fills (Label)
    ChatLink,     // the label that starts the live chat (Label)
    ChatPicture,  // the picture that starts the live chat (Picture)
    Disclaimer,   // the disclaimer's text (TextBox)
    AcceptButton, // OK: on to the scan (CommandButton)
    CancelButton, // Cancel: the end (CommandButton)
    CopyButton,   // the report onto the clipboard (CommandButton)
    ModuleList,   // one of the three module lists (ListBox)
    Browser,      // the store page (Browser)
};

// The kind of control a role belongs to.
ControlKind kindOf(Role role);

struct Font {
    std::string_view family;
    double points = 8.25;
    bool bold = false;
    bool operator==(const Font&) const = default;
};

// MS Sans Serif 8.25 pt regular: the system default, for every control without a font of its own.
inline constexpr Font defaultFont{"MS Sans Serif", 8.25, false};
// The same, bold: frames, caption labels and column headings.
inline constexpr Font headingFont{"MS Sans Serif", 8.25, true};
// The splash's two captions.
inline constexpr Font splashTitleFont{"MS Sans Serif", 18, false};
inline constexpr Font splashSerifFont{"Times New Roman", 15.75, false};

enum class TextColour {
    System, // the system's window text colour
    Blue,   // red 0, green 0, blue 255: value labels, the chat link, the splash's title
};

struct Control {
    std::string_view name;
    ControlKind kind;
    Role role;
    std::string_view parent; // empty: directly on the window
    std::string_view caption;
    Twips place;
    std::optional<int> tabIndex;
    Font font = defaultFont;
    TextColour colour = TextColour::System;
    bool visible = true;
    // For a value label, its caption label; for a module list, its heading: the label a screen
    // reader names it by.
    std::string_view captionLabel = {};
};

enum class StartPosition {
    Manual,       // the client area's top-left corner at the window's left and top
    CenterScreen, // centred on the screen
};

enum class WindowFrame {
    FixedDialog, // fixed dialog frame, caption with close box only (none without a caption)
    FixedSingle, // fixed single border, caption with minimize and close box
};

struct WindowLayout {
    std::string_view name;
    std::string_view className; // the window class the Windows program registers
    std::string_view caption;
    WindowFrame frame;
    StartPosition start;
    Twips client; // left and top only count for a manual start position
    bool inTaskbar;
    std::span<const Control> controls;

    // The control named so; null when there is none.
    const Control* find(std::string_view controlName) const;
    // The control named so; throws std::out_of_range when there is none.
    const Control& at(std::string_view controlName) const;
    // The controls that take the focus, in Tab order (by tab index).
    std::vector<const Control*> tabStops() const;
    // The controls whose parent is the given one, in table order ("" for the window itself).
    std::vector<const Control*> children(std::string_view parentName) const;
    // The controls of a role, in table order.
    std::vector<const Control*> withRole(Role role) const;
    // The one control of a role; throws std::logic_error when there is none or more than one.
    const Control& only(Role role) const;
};

// Whether the control shows one of the tables' fixed texts, drawn whole on one line: a caption
// label, the chat link, a button's or a frame's caption; not a value the scan fills.
bool showsFixedText(const Control& control);

// Whether the control's box may grow to hold its fixed text: a label's or a button's. A frame's
// caption stands on its edge and never moves it.
bool growsToHoldText(const Control& control);

// Whether a fixed text's control is centred: a button, whose caption is centred, or a label that
// stands centred in its parent (the chat link above the copy button, the splash's message). It
// draws its text centred and, too narrow for it, grows about its centre rather than to its right.
bool growsAboutCentre(const WindowLayout& window, const Control& control);

// The box a fixed text's label or button takes to show its text whole on one line, where the
// text and the room round it need `neededWidth` pixels: its designed box where that fits, else
// widened just enough, about its centre or to its right as the control grows, but never beyond
// its parent's span [withinLeft, withinRight). Any coordinates, in pixels.
PixelRect widenedToText(const WindowLayout& window, const Control& control, PixelRect box,
                        int withinLeft, int withinRight, int neededWidth);

// Throws std::logic_error naming the fault when a table is not one the front ends can build: a
// window without a name or class, a control named twice, a parent or caption label the table
// lacks or that is no frame or label, a role of another kind than its control's.
void checkLayout(const WindowLayout& window);

const WindowLayout& dialogLayout();
const WindowLayout& splashLayout();
const WindowLayout& form1Layout();

// The splash's timer interval.
inline constexpr int splashTimerMilliseconds = 10;

// The disclaimer's four paragraphs, separated by CR LF CR LF: 920 characters, UTF-8.
std::string disclaimerText();

// The three module lists act as one table: a selection made in one is copied into the other two.
// The rule, once for both toolkits.

// The selected rows of the three module lists, as the coupling reads and sets them; a toolkit
// hands its lists over as these two.
struct ListSelection {
    std::function<int(ModuleList list)> selectedIndex; // -1: none
    std::function<void(ModuleList list, int index)> setSelectedIndex;
};

// Throws std::logic_error unless the window's module lists are exactly the three the scan fills.
void checkModuleLists(const WindowLayout& window);

// The two lists a selection change in the given one is copied into, in their order.
std::array<ModuleList, 2> couplingTargets(ModuleList changed);

// A list's selection handler: copies its selected index into the other two, reading it afresh
// before each copy; a copy that changes a list runs that list's handler in turn, as a change
// made by code does, so that the three end up agreeing.
void spreadSelection(const ListSelection& lists, ModuleList changed);

} // namespace quorvin::layout
