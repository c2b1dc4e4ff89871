// The Win32 windows under the window sequence, driven through a message loop like the program's
// own: what the toolkit itself does with clicks, the close box, WM_CHAR and its timer (the
// sequence's own rules are tested without a toolkit).

#include "app/win32/ProgramWindows.h"
#include "TestMachine.h"
#include "platform/windows/Com.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace quorvin;
using quorvin::win32app::ProgramWindows;

namespace {

// Runs the loop until the condition holds or the program posts its end; bounded in time.
std::optional<int> pump(ProgramWindows& program, const std::function<bool()>& done,
                        DWORD milliseconds = 10000) {
    const ULONGLONG until = GetTickCount64() + milliseconds;
    while (GetTickCount64() < until) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return static_cast<int>(message.wParam);
            if (!program.preTranslateMessage(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (done && done())
            return std::nullopt;
        Sleep(5);
    }
    ADD_FAILURE() << "nothing happened in time";
    return std::nullopt;
}

struct Step {
    const char* name;
    // What the user does once the disclaimer is up.
    std::function<void(ProgramWindows&)> act;
    std::optional<int> exitCode; // the end the program posts; none: it runs on
    bool scanned;                // Form1 was made and shown
};

void click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

TEST(ProgramWindows, EachWayThroughTheWindows) {
    const Step steps[] = {
        {"Cancel ends at once",
         [](ProgramWindows& p) { click(p.dialog()->control("CancelButton")); }, 0, false},
        {"the close box ends without a scan",
         [](ProgramWindows& p) { SendMessageW(p.dialog()->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 0,
         false},
        {"a character on the splash ends it before the first tick",
         [](ProgramWindows& p) {
             click(p.dialog()->control("OKButton"));
             ASSERT_NE(p.splash(), nullptr);
             SendMessageW(p.splash()->hwnd(), WM_CHAR, 'q', 0);
         },
         0, false},
        {"OK scans and shows the results",
         [](ProgramWindows& p) {
             click(p.dialog()->control("OKButton"));
             // The splash is up before the disclaimer goes.
             ASSERT_NE(p.splash(), nullptr);
             EXPECT_TRUE(p.splash()->isLoaded());
             EXPECT_FALSE(p.dialog()->isLoaded());
             EXPECT_EQ(p.form1(), nullptr) << "the scan waits for the first tick";
         },
         std::nullopt, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        windows::ComApartment apartment;
        snapshot::SnapshotProvider provider{quorvin::test::typicalMachine()};
        ProgramWindows program([&](auto errors) {
            return std::make_unique<win32forms::Form1>(
                ScanEnvironment{provider, NumberFormat{}, "store.test"}, L"Z:\\none.exe",
                std::move(errors));
        });
        program.start();
        ASSERT_TRUE(program.dialog()->isLoaded());
        EXPECT_TRUE(IsWindowVisible(program.dialog()->hwnd()));
        step.act(program);
        const auto shown = [&] {
            return program.form1() && IsWindowVisible(program.form1()->hwnd());
        };
        const std::optional<int> ended = pump(
            program, step.exitCode ? std::function<bool()>() : shown, step.exitCode ? 3000 : 10000);
        EXPECT_EQ(ended, step.exitCode);
        EXPECT_EQ(program.form1() != nullptr, step.scanned);
        if (!step.scanned)
            continue;
        EXPECT_FALSE(program.splash()->isLoaded()) << "the splash is gone";
        EXPECT_EQ(GetForegroundWindow(), program.form1()->hwnd()) << "Form1 at the front";
        EXPECT_EQ(GetFocus(), program.form1()->control("slotsLst"));
        // Closing the results window, the last one, ends the program.
        SendMessageW(program.form1()->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(pump(program, nullptr, 3000), 0);
        EXPECT_FALSE(program.form1()->isLoaded());
    }
}

} // namespace
