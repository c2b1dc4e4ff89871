#include "WindowSequence.h"

#include <exception>

namespace quorvin::app {

WindowSequence::WindowSequence(SequenceToolkit& toolkit)
    : toolkit_(toolkit) {}

void WindowSequence::start() {
    run([this] { toolkit_.show(Window::Dialog); });
}

void WindowSequence::okClicked() {
    run([this] {
        // The splash is shown before the disclaimer goes, so the program never stands without a
        // loaded window.
        splashShownAt_ = toolkit_.milliseconds();
        splashShown_ = true;
        toolkit_.show(Window::Splash);
        toolkit_.unload(Window::Dialog);
    });
}

void WindowSequence::cancelClicked() {
    // At once: no other handler runs, no window stays, no message.
    run([this] { end(0); });
}

void WindowSequence::splashPainted() {
    splashPainted_ = true;
}

void WindowSequence::splashTick() {
    // A tick that falls due while a scan runs (a COM call may pump messages) starts no second
    // scan, and the scan waits for the splash to be on the screen.
    // Nor does one that comes after the splash went.
    if (ended_ || scanning_ || !splashShown_ || !toolkit_.isLoaded(Window::Splash))
        return;
    if (!splashPainted_ && toolkit_.milliseconds() - splashShownAt_ < splashPaintWaitMilliseconds)
        return;
    run([this] {
        scanning_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{scanning_};
        // The scan holds the thread: everything on the splash is drawn now, not when its own
        // paint messages would have come.
        if (!drawnForScan_) {
            toolkit_.paintNow(Window::Splash);
            drawnForScan_ = true;
        }
        const ScanValue result = toolkit_.scan();
        ++scans_;
        if (ended_ || !(result.isText() && result.asText() == "Success"))
            return; // any other result keeps the splash up, and the next tick scans again
        // Form1 is shown, and so activated, before the splash goes, within this one handler and
        // with nothing drawn in between: with no window of the program active for a moment,
        // Windows would activate another program's and open Form1 behind it.
        toolkit_.show(Window::Form1);
        toolkit_.unload(Window::Splash);
    });
}

void WindowSequence::splashCharacter() {
    run([this] { toolkit_.unload(Window::Splash); });
}

void WindowSequence::windowUnloaded(Window) {
    if (ended_)
        return;
    if (!toolkit_.isLoaded(Window::Dialog) && !toolkit_.isLoaded(Window::Splash) &&
        !toolkit_.isLoaded(Window::Form1))
        end(0);
}

bool WindowSequence::run(const std::function<void()>& handler) {
    if (ended_)
        return false;
    return runCatching(handler, [this](const std::string& message) { fail(message); });
}

bool WindowSequence::guard(const std::function<void()>& handler) {
    if (!ended_)
        return run(handler);
    return runCatching(handler, nullptr);
}

void WindowSequence::fail(const std::string& message) {
    if (ended_)
        return;
    ended_ = true;
    // No window stays behind the message, and no timer scans again while it is up. They are
    // destroyed only after it: a message box's own loop would otherwise destroy them under the
    // handler that failed.
    toolkit_.hideAll();
    toolkit_.showMessage(readableMessage(message));
    unloadAll();
    toolkit_.endProgram(1);
}

void WindowSequence::end(int exitCode) {
    ended_ = true;
    unloadAll();
    toolkit_.endProgram(exitCode);
}

void WindowSequence::unloadAll() {
    for (const Window window : {Window::Splash, Window::Dialog, Window::Form1})
        if (toolkit_.isLoaded(window))
            toolkit_.unload(window);
}

bool runCatching(const std::function<void()>& handler,
                 const std::function<void(const std::string& message)>& failed) {
    std::string message;
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = unexpectedErrorText;
    }
    if (failed)
        failed(message);
    return false;
}

std::string readableMessage(const std::string& text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == longestMessage)
            return text.substr(0, i) + "...";
    }
    return text;
}

} // namespace quorvin::app
