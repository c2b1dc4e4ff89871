#pragma once

#include "LayoutRules.h"
#include "forms/WindowLayout.h"

#include <windows.h>

#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace quorvin::win32forms {

// The GDI fonts of one window, made once per font and DPI and deleted with the set.
class FontSet {
public:
    FontSet() = default;
    ~FontSet();
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // Throws Win32Error when GDI cannot make the font.
    HFONT get(const layout::Font& font, int dpi);

private:
    struct Entry {
        layout::Font font;
        int dpi;
        HFONT handle;
    };
    std::vector<Entry> entries_;
};

// A top-level window built from its layout table with Windows' standard controls, each a child
// of the window with the id firstControlId + its table index, in reading order, placed and
// lettered at the window's DPI and placed again when the window moves to a screen of another
// scale, in the rectangle Windows suggests. It opens wholly in its screen's work area, its browser
// shortened where the window is taller; it takes the user's colours in high contrast. Tab follows
// the layout's tab indexes. The window's state follows the program's life of a window: created
// (this object only), loaded (native window and controls, hidden), shown, unloaded (native window
// destroyed).
class LayoutWindow {
public:
    // Runs one of the window's handlers so that nothing it throws crosses Windows' own frames:
    // the program's window sequence reports the error and ends the program. Returns false when
    // the handler failed. A window given none lets nothing escape: such an error ends the
    // process at once (std::terminate).
    using ErrorSink = std::function<bool(const std::function<void()>& handler)>;

    LayoutWindow(const layout::WindowLayout& layout, ErrorSink errors);
    virtual ~LayoutWindow();
    LayoutWindow(const LayoutWindow&) = delete;
    LayoutWindow& operator=(const LayoutWindow&) = delete;

    const layout::WindowLayout& layout() const { return layout_; }
    HWND hwnd() const { return window_; }
    bool isLoaded() const { return window_ != nullptr; }
    int dpi() const { return dpi_; }
    // How many pixels shorter than designed the window is, to fit its work area.
    int heightCut() const { return heightCut_; }
    // Whether the window draws in the system's high-contrast colours.
    bool highContrast() const { return highContrast_; }

    // The control's window; throws std::out_of_range for a name the layout lacks, std::logic_error
    // before the window is loaded.
    HWND control(std::string_view name) const;
    // The layout entry of one of this window's controls, or null.
    const layout::Control* controlOf(HWND child) const;

    // Loads the window if needed, shows it, brings it to the front and puts the focus in its
    // first Tab stop (the window itself when it has none).
    void show();
    // Destroys the native window and its controls; onUnloaded runs once it is gone.
    void unload();

    // Called when the native window is gone (closed, unloaded or destroyed with the program).
    std::function<void()> onUnloaded;

    // A key or mouse message of the message loop, before it is dispatched; true when used. By
    // default the dialog manager (Tab order, buttons) takes it, and Enter presses a focused
    // button.
    virtual bool preTranslateMessage(MSG& message);

protected:
    // Makes the native window and its controls, hidden, then runs afterLoad.
    void load();

    // Style bits a control gets beyond those of its kind (SS_NOTIFY for a clickable label).
    virtual DWORD extraStyle(const layout::Control&) const { return 0; }
    // The window of a browser control, made by the concrete window; null when it has none.
    virtual HWND makeBrowser(const layout::Control&, int, const RECT&) { return nullptr; }
    // After the controls are made (the window's load step).
    virtual void afterLoad() {}
    // After every placing of the controls, at the DPI they were placed at.
    virtual void afterLayout(int) {}
    // A control's notification (WM_COMMAND).
    virtual void onCommand(const layout::Control&, HWND, int) {}
    // The window's messages; overrides pass what they do not handle on to this.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs a handler through the window's error sink; false when it failed.
    bool runHandler(const std::function<void()>& handler) const;

    // Moves the focus to the next (or previous) Tab stop after the focused control, in the
    // layout's Tab order.
    void moveFocus(bool backwards);
    // The top-level window's direct child that holds the focus, or null.
    HWND focusedControl() const;

    // The control's rectangle in client pixels at a DPI.
    RECT controlRect(const layout::Control& control, int dpi) const;

private:
    void registerClass() const;
    void makeControl(std::size_t index);
    void placeControls();
    void placeWindow(const RECT* suggested);
    void leaveOverlapsToOthers();
    void takeColourScheme();
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);

    const layout::WindowLayout& layout_;
    ErrorSink errors_;
    HWND window_ = nullptr;
    std::vector<HWND> controls_;
    // Made as the controls are placed, and as a fixed text is measured.
    mutable FontSet fonts_;
    HWND lastFocus_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    int heightCut_ = 0;
    bool highContrast_ = false;
    std::vector<std::vector<std::size_t>> drawnOver_;
};

} // namespace quorvin::win32forms
