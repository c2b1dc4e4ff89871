// The window sequence once, without a toolkit: a fake one logs what the sequence asks of it, in
// order, and unloads as a toolkit does (the window reports that it went).

#include "app/WindowSequence.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using namespace quorvin;
using quorvin::app::Window;
using quorvin::app::WindowSequence;

namespace {

const char* nameOf(Window window) {
    switch (window) {
    case Window::Dialog:
        return "Dialog";
    case Window::Splash:
        return "Splash";
    case Window::Form1:
        return "Form1";
    }
    return "?";
}

class FakeToolkit : public app::SequenceToolkit {
public:
    std::vector<std::string> log;
    // What each scan returns, in turn; "throw:..." raises that error instead.
    std::vector<std::string> results{"Success"};
    std::uint64_t now = 0;
    std::function<void()> duringScan;
    WindowSequence* sequence = nullptr;

    void show(Window window) override {
        log.push_back(std::string("show ") + nameOf(window));
        loaded[window] = true;
    }
    void unload(Window window) override {
        log.push_back(std::string("unload ") + nameOf(window));
        loaded[window] = false;
        sequence->windowUnloaded(window);
    }
    bool isLoaded(Window window) const override {
        const auto it = loaded.find(window);
        return it != loaded.end() && it->second;
    }
    ScanValue scan() override {
        log.push_back("scan");
        // The scan loads Form1, hidden.
        loaded[Window::Form1] = true;
        if (duringScan)
            duringScan();
        const std::string result = results[std::min(scans++, results.size() - 1)];
        if (result.rfind("throw:", 0) == 0)
            throw std::runtime_error(result.substr(6));
        return ScanValue::text(result);
    }
    void paintNow(Window window) override { log.push_back(std::string("paint ") + nameOf(window)); }
    void hideAll() override { log.push_back("hide all"); }
    void showMessage(const std::string& text) override { log.push_back("message " + text); }
    void endProgram(int exitCode) override { log.push_back("end " + std::to_string(exitCode)); }
    std::uint64_t milliseconds() const override { return now; }

    // A window's own close box (or Alt+F4) unloads it without the sequence asking.
    void closeBox(Window window) {
        log.push_back(std::string("close box ") + nameOf(window));
        loaded[window] = false;
        sequence->windowUnloaded(window);
    }

private:
    std::map<Window, bool> loaded;
    std::size_t scans = 0;
};

// One event a user or the toolkit brings about.
enum class Event { Ok, Cancel, Paint, Tick, Character, Wait999, Wait1000, CloseDialog, CloseForm1 };

void bringAbout(Event event, WindowSequence& sequence, FakeToolkit& toolkit) {
    switch (event) {
    case Event::Ok:
        return sequence.okClicked();
    case Event::Cancel:
        return sequence.cancelClicked();
    case Event::Paint:
        return sequence.splashPainted();
    case Event::Tick:
        return sequence.splashTick();
    case Event::Character:
        return sequence.splashCharacter();
    case Event::Wait999:
        toolkit.now += 999;
        return;
    case Event::Wait1000:
        toolkit.now += 1000;
        return;
    case Event::CloseDialog:
        return toolkit.closeBox(Window::Dialog);
    case Event::CloseForm1:
        return toolkit.closeBox(Window::Form1);
    }
}

struct Case {
    const char* what;
    std::vector<Event> events;
    std::vector<std::string> results;
    std::vector<std::string> log; // after "show Dialog"
};

using E = Event;
const std::vector<std::string> scanned = {"paint Splash", "scan", "show Form1", "unload Splash"};

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Case cases[] = {
    {"Cancel ends at once, without a message", {E::Cancel}, {}, {"unload Dialog", "end 0"}},
    {"the disclaimer's close box ends without a scan",
     {E::CloseDialog},
     {},
     {"close box Dialog", "end 0"}},
    {"OK shows the splash before the disclaimer goes, and scans nothing yet",
     {E::Ok},
     {},
     {"show Splash", "unload Dialog"}},
    {"a tick before the first paint waits; once painted, the scan, Form1 shown before the splash "
     "goes",
     {E::Ok, E::Tick, E::Wait999, E::Tick, E::Paint, E::Tick},
     {"Success"},
     joined({"show Splash", "unload Dialog"}, scanned)},
    {"a splash never painted scans after a second all the same",
     {E::Ok, E::Wait1000, E::Tick},
     {"Success"},
     joined({"show Splash", "unload Dialog"}, scanned)},
    {"\"success\" or \"\" keeps the splash; the next tick scans again; nothing after Success",
     {E::Ok, E::Paint, E::Tick, E::Tick, E::Tick, E::Tick},
     {"success", "", "Success"},
     {"show Splash", "unload Dialog", "paint Splash", "scan", "scan", "scan", "show Form1",
      "unload Splash"}},
    {"a character before the first tick ends without a scan",
     {E::Ok, E::Character, E::Tick},
     {},
     {"show Splash", "unload Dialog", "unload Splash", "end 0"}},
    {"an error in the scan: every window hidden, the message, every window gone, exit code 1",
     {E::Ok, E::Paint, E::Tick, E::Tick},
     {"throw:Binding the WMI object path failed"},
     {"show Splash", "unload Dialog", "paint Splash", "scan", "hide all",
      "message Binding the WMI object path failed", "unload Splash", "unload Form1", "end 1"}},
    {"closing the results ends the program",
     {E::Ok, E::Paint, E::Tick, E::CloseForm1},
     {"Success"},
     joined(joined({"show Splash", "unload Dialog"}, scanned), {"close box Form1", "end 0"})},
};

TEST(WindowSequence, EachWayThroughTheWindows) {
    for (const Case& c : cases) {
        FakeToolkit toolkit;
        WindowSequence sequence(toolkit);
        toolkit.sequence = &sequence;
        if (!c.results.empty())
            toolkit.results = c.results;
        sequence.start();
        for (const Event event : c.events)
            bringAbout(event, sequence, toolkit);
        EXPECT_EQ(toolkit.log, joined({"show Dialog"}, c.log)) << c.what;
    }
}

TEST(WindowSequence, ATickDuringTheScanStartsNoSecondOne) {
    FakeToolkit toolkit;
    WindowSequence sequence(toolkit);
    toolkit.sequence = &sequence;
    // A COM call may pump messages, and with them the splash's timer.
    toolkit.duringScan = [&] { sequence.splashTick(); };
    toolkit.results = {"again", "Success"};
    sequence.start();
    sequence.okClicked();
    sequence.splashPainted();
    sequence.splashTick();
    EXPECT_EQ(sequence.scans(), 1);
    sequence.splashTick();
    EXPECT_EQ(sequence.scans(), 2);
}

TEST(WindowSequence, AHandlerErrorIsReportedOnceAndNothingRunsAfterTheEnd) {
    FakeToolkit toolkit;
    WindowSequence sequence(toolkit);
    toolkit.sequence = &sequence;
    sequence.start();
    EXPECT_FALSE(sequence.run([] { throw std::runtime_error("Emptying the clipboard failed"); }));
    EXPECT_FALSE(sequence.run([] { throw 42; })) << "after the end nothing runs";
    bool ran = false;
    EXPECT_FALSE(sequence.run([&] { ran = true; }));
    EXPECT_FALSE(ran);
    // What the toolkit runs for its windows' messages still runs, so they go as they always do;
    // an error it throws then is not reported again.
    EXPECT_TRUE(sequence.guard([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(sequence.guard([] { throw std::runtime_error("a window going"); }));
    sequence.fail("a second error");
    EXPECT_EQ(toolkit.log, (std::vector<std::string>{"show Dialog", "hide all",
                                                     "message Emptying the clipboard failed",
                                                     "unload Dialog", "end 1"}));
    // An error that is no std::exception has a message all the same.
    FakeToolkit other;
    WindowSequence second(other);
    other.sequence = &second;
    second.run([] { throw 42; });
    EXPECT_EQ(other.log[1], "message An unexpected error ended the program.");
}

TEST(WindowSequence, TheMessageShowsAtMost500Characters) {
    const std::string prefix = "Binding the WMI object path failed: ";
    const std::string e = "\xc3\xa9"; // é, two bytes
    std::string fits = prefix;
    while (fits.size() - prefix.size() < 2 * (500 - prefix.size()))
        fits += e;
    std::string huge = fits;
    for (int i = 0; i < 100000; ++i)
        huge += e;
    EXPECT_EQ(app::readableMessage(prefix + "short"), prefix + "short");
    EXPECT_EQ(app::readableMessage(fits), fits) << "500 characters stay whole";
    EXPECT_EQ(app::readableMessage(huge), fits + "...") << "cut at 500 characters, not bytes";
    EXPECT_EQ(app::readableMessage(fits + "x"), fits + "...");
}

} // namespace
