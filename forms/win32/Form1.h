#pragma once

#include "LayoutWindow.h"
#include "platform/windows/BrowserHost.h"
#include "results/ResultsWindow.h"

#include <memory>
#include <string>

namespace quorvin::win32forms {

// The results window: the frames of values, the three coupled module lists, the chat picture
// and link, the copy button and the store page in Windows' web-browser control. What the scan
// does with it is its ResultsWindow's, which reaches its controls through
// ResultsWindow::Controls; loaded means the native window exists.
class Form1 : public LayoutWindow, private ResultsWindow::Controls {
public:
    // chatBrowser: the exact path of the program the chat picture and link start.
    Form1(ScanEnvironment environment, std::wstring chatBrowser, ErrorSink errors);
    ~Form1() override;

    ResultsWindow& results() { return results_; }
    // Loads the window (with its load step) if needed and shows it.
    void show();
    // The hosted browser control; null where the system has none, and once the window is gone.
    windows::BrowserHost* browser() const;

    bool preTranslateMessage(MSG& message) override;

private:
    // ResultsWindow::Controls
    void loadControls() override { load(); }
    bool controlsLoaded() const override { return isLoaded(); }
    void clearListControl(ModuleList list) override;
    void addListControlRow(ModuleList list, const std::string& row) override;
    void setLabelCaption(ValueLabel label, const std::string& text) override;
    std::string labelCaption(ValueLabel label) const override;
    void navigateBrowser(const std::string& url) override;
    bool putOnClipboard(const std::string& text) override;

    // LayoutWindow
    DWORD extraStyle(const layout::Control& control) const override;
    HWND makeBrowser(const layout::Control& control, int id, const RECT& place) override;
    void afterLoad() override;
    void afterLayout(int dpi) override;
    void onCommand(const layout::Control& control, HWND window, int code) override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND list(ModuleList list) const;
    // The list's selected row (-1: none), and selecting one; what the coupling reads and sets.
    int selectedRow(ModuleList list) const;
    void selectRow(ModuleList list, int index);
    void startChat();
    void openOutside(const std::wstring& address, bool userAsked);
    void followTopRow(HWND source);
    static LRESULT CALLBACK listProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    std::wstring chatBrowser_;
    std::unique_ptr<windows::BrowserHost> browser_;
    HCURSOR chatCursor_ = nullptr;
    HICON chatPicture_ = nullptr;
    bool followingTopRow_ = false;
    ResultsWindow results_;
};

} // namespace quorvin::win32forms
