#pragma once

#include "forms/win32/Dialog.h"
#include "forms/win32/Form1.h"
#include "forms/win32/frmSplash.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

// The window sequence: the disclaimer, the splash that runs the scan, the results window. The
// program ends when its last loaded window is unloaded (exit code 0), at once on Cancel (0), or
// after a message box when an error escapes a handler (1): end() posts the message loop's end.
class ProgramWindows {
public:
    using Form1Factory = std::function<std::unique_ptr<quorvin::win32::Form1>()>;
    explicit ProgramWindows(Form1Factory makeForm1);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // Shows the disclaimer.
    void start();
    // A message of the loop before it is dispatched: the window it belongs to may take it.
    bool preTranslateMessage(MSG& message);

    // Reports an error that escaped a handler, with every window gone, and ends the program.
    void fail(const std::string& message);

    quorvin::win32::Dialog* dialog() const { return dialog_.get(); }
    quorvin::win32::frmSplash* splash() const { return splash_.get(); }
    quorvin::win32::Form1* form1() const { return form1_.get(); }
    bool ended() const { return ended_; }

private:
    void showSplash();
    void tick();
    void endIfNoWindowLoaded();
    void end(int exitCode);
    void closeAll();

    Form1Factory makeForm1_;
    std::unique_ptr<quorvin::win32::Dialog> dialog_;
    std::unique_ptr<quorvin::win32::frmSplash> splash_;
    std::unique_ptr<quorvin::win32::Form1> form1_;
    bool ended_ = false;
};

// The longest error text the message box shows.
inline constexpr std::size_t failureMessageLimit = 500;
