#pragma once

#include "app/WindowSequence.h"
#include "forms/win32/Dialog.h"
#include "forms/win32/Form1.h"
#include "forms/win32/frmSplash.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace quorvin::win32app {

// The program's three windows with the Win32 API, driven by the window sequence; the sequence's
// end posts the message loop's end with its exit code.
class ProgramWindows : public quorvin::app::SequenceToolkit {
public:
    // Makes the results window, with the error sink its handlers run through.
    using Form1Factory = std::function<std::unique_ptr<win32forms::Form1>(
        win32forms::LayoutWindow::ErrorSink errors)>;
    explicit ProgramWindows(Form1Factory makeForm1);
    ~ProgramWindows() override;
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // Shows the disclaimer.
    void start();
    // A message of the loop before it is dispatched: the window it belongs to may take it.
    bool preTranslateMessage(MSG& message);

    quorvin::app::WindowSequence& sequence() { return sequence_; }
    win32forms::Dialog* dialog() const { return dialog_.get(); }
    win32forms::frmSplash* splash() const { return splash_.get(); }
    win32forms::Form1* form1() const { return form1_.get(); }
    bool ended() const { return sequence_.ended(); }

    // SequenceToolkit
    void show(quorvin::app::Window window) override;
    void unload(quorvin::app::Window window) override;
    bool isLoaded(quorvin::app::Window window) const override;
    quorvin::ScanValue scan() override;
    void paintNow(quorvin::app::Window window) override;
    void hideAll() override;
    void showMessage(const std::string& text) override;
    void endProgram(int exitCode) override;
    std::uint64_t milliseconds() const override;

private:
    win32forms::LayoutWindow* window(quorvin::app::Window which) const;
    void makeForm1();
    // What each window's handlers run through: the sequence's guard.
    win32forms::LayoutWindow::ErrorSink errorSink();

    Form1Factory makeForm1_;
    quorvin::app::WindowSequence sequence_{*this};
    std::unique_ptr<win32forms::Dialog> dialog_;
    std::unique_ptr<win32forms::frmSplash> splash_;
    std::unique_ptr<win32forms::Form1> form1_;
};

} // namespace quorvin::win32app
