#pragma once

#include "scan/values/ScanValue.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quorvin::app {

// The program's three windows.
enum class Window { Dialog, Splash, Form1 };

// What the window sequence asks of a toolkit: the front ends (Qt, Win32) implement it over their
// own windows and keep nothing of the sequence themselves.
class SequenceToolkit {
public:
    virtual ~SequenceToolkit() = default;
    // Makes the window's object if it has none (Form1 is then created, not loaded); showing it
    // loads it, with its load step, and shows it modeless, active, with the focus in its first
    // Tab stop.
    virtual void show(Window window) = 0;
    // Destroys the native window; the toolkit reports windowUnloaded once it is gone.
    virtual void unload(Window window) = 0;
    virtual bool isLoaded(Window window) const = 0;
    // Makes Form1's object (created, not loaded) if it has none, and runs its getQuorvin.
    virtual ScanValue scan() = 0;
    // Draws the window whole now, before the scan holds the thread.
    virtual void paintNow(Window window) = 0;
    // Hides every window and stops the splash's timer, for the message of an error.
    virtual void hideAll() = 0;
    // The program's message box: the text, an OK button, the program's title.
    virtual void showMessage(const std::string& text) = 0;
    // Ends the program's event loop with the exit code.
    virtual void endProgram(int exitCode) = 0;
    // A steady clock, in milliseconds.
    virtual std::uint64_t milliseconds() const = 0;
};

// The window sequence, once for both front ends: the disclaimer, then the splash that runs the
// scan from its timer, then the results window. The program ends when its last loaded window
// goes (exit code 0), at once on Cancel (0), or with the program's message box when an error
// reaches the top of a handler (1).
class WindowSequence {
public:
    explicit WindowSequence(SequenceToolkit& toolkit);

    // The program starts: the disclaimer.
    void start();
    // The disclaimer's buttons.
    void okClicked();
    void cancelClicked();
    // The splash's first paint, one tick of its timer, and a key on it that produces a
    // character.
    void splashPainted();
    void splashTick();
    void splashCharacter();
    // A window's native window is gone (its close box, its own unload, the end).
    void windowUnloaded(Window window);

    // Runs an event handler of any window; an error escaping it is reported and ends the
    // program. Returns false then, and after the end, when it runs nothing.
    bool run(const std::function<void()>& handler);
    // Guards what a toolkit runs for any message or event: as run before the end. After it the
    // handler still runs, so that the windows go and let go of what they hold as they always
    // do; an error it throws then is dropped, the one that ended the program having been shown.
    bool guard(const std::function<void()>& handler);
    // The error path: every window hidden, the message box, every window unloaded, exit code 1.
    // After the program has ended, nothing happens.
    void fail(const std::string& message);

    bool ended() const { return ended_; }
    // Completed scans, for the tests.
    int scans() const { return scans_; }

private:
    void end(int exitCode);
    void unloadAll();

    SequenceToolkit& toolkit_;
    bool ended_ = false;
    bool splashShown_ = false;
    bool splashPainted_ = false;
    bool scanning_ = false;
    bool drawnForScan_ = false;
    std::uint64_t splashShownAt_ = 0;
    int scans_ = 0;
};

// The one place where the program catches what its event handlers throw: runs a handler and
// gives the message of an error escaping it to failed, when given. Returns false then.
bool runCatching(const std::function<void()>& handler,
                 const std::function<void(const std::string& message)>& failed);

// What the message box says of an error that is no std::exception.
inline constexpr const char* unexpectedErrorText = "An unexpected error ended the program.";

// How long a tick waits for the splash's first paint before the scan starts anyway: a splash
// that is never exposed (covered, on a screen nobody looks at) must not keep the scan back.
inline constexpr std::uint64_t splashPaintWaitMilliseconds = 1000;

// The first 500 characters and "..." of a longer text: a message that quotes a 10 MB value from a
// recording would keep the box off the screen for many seconds while it is laid out.
std::string readableMessage(const std::string& text);
inline constexpr std::size_t longestMessage = 500; // characters

} // namespace quorvin::app
