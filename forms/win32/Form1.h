#pragma once

#include "LayoutWindow.h"
#include "forms/ModuleListCoupling.h"
#include "platform/windows/BrowserHost.h"
#include "results/ResultsWindow.h"

#include <memory>
#include <string>

namespace quorvin::win32forms {

// The results window: the frames of values, the three coupled module lists, the chat picture
// and link, the copy button and the store page in Windows' web-browser control.
class Form1 : public ResultsWindow, public LayoutWindow, private layout::ListSelection {
public:
    // chatBrowser: the exact path of the program the chat picture and link start.
    Form1(ScanEnvironment environment, std::wstring chatBrowser);
    ~Form1() override;

    // Loads the window (with its load step) if needed and shows it.
    void show();
    // Whether the native window exists (ResultsWindow::isLoaded tells whether it ever did).
    bool windowLoaded() const { return LayoutWindow::isLoaded(); }
    // The hosted browser control; null where the system has none, and once the window is gone.
    windows::BrowserHost* browser() const;

    bool preTranslateMessage(MSG& message) override;

private:
    // ResultsWindow
    void createControls() override;
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

    // ListSelection
    int selectedIndex(ModuleList list) const override;
    void setSelectedIndex(ModuleList list, int index) override;

    HWND list(ModuleList list) const;
    void startChat();
    void openOutside(const std::wstring& address, bool userAsked);
    void followTopRow(HWND source);
    static LRESULT CALLBACK listProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    std::wstring chatBrowser_;
    std::unique_ptr<windows::BrowserHost> browser_;
    HCURSOR chatCursor_ = nullptr;
    HICON chatPicture_ = nullptr;
    bool followingTopRow_ = false;
};

} // namespace quorvin::win32forms
