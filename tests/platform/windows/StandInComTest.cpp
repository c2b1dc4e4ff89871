// What the program does with COM objects that misbehave as a damaged Windows' do, told by
// stand-ins: a WMI enumerator that never answers or fails, a store page that takes keys or not.

#include "ThrowsNaming.h"

#include "platform/windows/ComWmiProvider.h"
#include "platform/windows/HResultText.h"
#include "platform/windows/PageKeys.h"
#include "platform/windows/Win32Error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quorvin;
using quorvin::checks::throwsNaming;

namespace {

// The COM plumbing every stand-in shares: one interface besides IUnknown, a counted reference.
template <typename Interface> class StandIn : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id != IID_IUnknown && id != __uuidof(Interface)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; } // lives on the stack

private:
    ULONG references_ = 1;
};

// Answers Next with the given results in turn, then with the last one for ever.
class StandInEnumerator : public StandIn<IEnumWbemClassObject> {
public:
    explicit StandInEnumerator(std::vector<HRESULT> answers)
        : answers_(std::move(answers)) {}
    std::vector<long> timeouts; // of every Next call

    HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Next(long timeout, ULONG, IWbemClassObject** objects,
                                   ULONG* returned) override {
        timeouts.push_back(timeout);
        *objects = nullptr;
        *returned = 0;
        return answers_[std::min(timeouts.size(), answers_.size()) - 1];
    }
    HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Skip(long, ULONG) override { return E_NOTIMPL; }

private:
    std::vector<HRESULT> answers_;
};

TEST(WmiThatDoesNotAnswer, EachWaitIsBoundedAndSoIsTheirSum) {
    constexpr HRESULT timedOut = WBEM_S_TIMEDOUT;
    constexpr HRESULT end = WBEM_S_FALSE;
    struct Case {
        const char* what;
        std::vector<HRESULT> answers;
        std::size_t calls;
        std::vector<std::string> error; // empty: the enumeration just ends
    };
    const Case cases[] = {
        {"answers at once", {end}, 1, {}},
        {"answers after three waits", {timedOut, timedOut, timedOut, end}, 4, {}},
        {"never answers",
         {timedOut},
         120,
         {"did not answer the query \"Select * from Win32_Processor\"", "class Win32_Processor",
          "within 60 seconds", "restarting the computer"}},
        {"a class a damaged repository lost",
         {static_cast<HRESULT>(WBEM_E_INVALID_CLASS)},
         1,
         {"WBEM_E_INVALID_CLASS", "0x80041010", "repository may be damaged"}},
        {"a stopped service",
         {static_cast<HRESULT>(0x800706BA)},
         1,
         {"RPC_S_SERVER_UNAVAILABLE", "winmgmt", "not running"}},
        {"access refused", {E_ACCESSDENIED}, 1, {"E_ACCESSDENIED", "refused this user"}},
    };
    for (const Case& c : cases) {
        StandInEnumerator enumerator(c.answers);
        enumerator.AddRef(); // the result set's reference
        windows::ComPtr<IEnumWbemClassObject> held;
        *held.put() = &enumerator;
        const auto items = windows::enumerationOf(std::move(held), "Select * from Win32_Processor");
        if (c.error.empty()) {
            EXPECT_EQ(items->next(), nullptr) << c.what;
        } else {
            EXPECT_TRUE(throwsNaming<wmi::WmiError>([&] { items->next(); }, c.error)) << c.what;
        }
        EXPECT_EQ(enumerator.timeouts.size(), c.calls) << c.what;
        for (long timeout : enumerator.timeouts)
            EXPECT_EQ(timeout, 500) << c.what << ": never WBEM_INFINITE";
        // Once ended, the set stays ended without asking WMI again.
        EXPECT_EQ(items->next(), nullptr) << c.what;
        EXPECT_EQ(enumerator.timeouts.size(), c.calls) << c.what;
    }
}

// The page's in-place object: takes the keys it is told to, and counts what it was offered.
class StandInPage : public StandIn<IOleInPlaceActiveObject> {
public:
    explicit StandInPage(HRESULT answer)
        : answer_(answer) {}
    int offered = 0;

    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override {
        ++offered;
        return answer_;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

private:
    HRESULT answer_;
};

TEST(KeysInTheStorePage, ThePageFirstTabLeavesOnlyPastItsLastStop) {
    using windows::PageKey;
    struct Case {
        const char* what;
        UINT message;
        WPARAM key;
        windows::KeyModifiers modifiers;
        HRESULT page; // what the page answers; S_FALSE also stands for "no page"
        bool noPage;
        PageKey route;
        bool offered;
    };
    const windows::KeyModifiers none{}, shift{false, true, false}, ctrl{true, false, false};
    const Case cases[] = {
        {"Tab to the page's next link", WM_KEYDOWN, VK_TAB, none, S_OK, false, PageKey::UsedByPage,
         true},
        {"Tab past its last stop", WM_KEYDOWN, VK_TAB, none, S_FALSE, false, PageKey::LeaveForward,
         true},
        {"Shift+Tab before its first", WM_KEYDOWN, VK_TAB, shift, S_FALSE, false,
         PageKey::LeaveBackward, true},
        {"Shift+Tab inside it", WM_KEYDOWN, VK_TAB, shift, S_OK, false, PageKey::UsedByPage, true},
        {"a page that cannot say", WM_KEYDOWN, VK_TAB, none, E_NOTIMPL, false,
         PageKey::LeaveForward, true},
        {"no page object", WM_KEYDOWN, VK_TAB, none, S_FALSE, true, PageKey::LeaveForward, false},
        {"Ctrl+N, a new window", WM_KEYDOWN, 'N', ctrl, S_OK, false, PageKey::Refused, false},
        {"Ctrl+O, open a file", WM_KEYDOWN, 'O', ctrl, S_OK, false, PageKey::Refused, false},
        {"Ctrl+L, another address", WM_KEYDOWN, 'L', ctrl, S_OK, false, PageKey::Refused, false},
        {"AltGr+L types a character",
         WM_KEYDOWN,
         'L',
         {true, false, true},
         S_FALSE,
         false,
         PageKey::Dispatch,
         true},
        {"Ctrl+Tab", WM_KEYDOWN, VK_TAB, ctrl, S_FALSE, false, PageKey::Dispatch, true},
        {"a typed letter into a field", WM_CHAR, 'a', none, S_FALSE, false, PageKey::Dispatch,
         true},
        {"Down the page", WM_KEYDOWN, VK_DOWN, none, S_OK, false, PageKey::UsedByPage, true},
        {"Alt+F4 closes the window",
         WM_SYSKEYDOWN,
         VK_F4,
         {false, false, true},
         S_FALSE,
         false,
         PageKey::Dispatch,
         true},
        {"no key at all", WM_MOUSEMOVE, 0, none, S_OK, false, PageKey::Dispatch, false},
    };
    for (const Case& c : cases) {
        StandInPage page(c.page);
        MSG message{nullptr, c.message, c.key, 0, 0, {}};
        EXPECT_EQ(windows::routePageKey(c.noPage ? nullptr : &page, message, c.modifiers), c.route)
            << c.what;
        EXPECT_EQ(page.offered, c.offered ? 1 : 0) << c.what;
    }
}

TEST(Win32Errors, SayWhatFailedInTheSystemsWordsWithTheNumber) {
    const std::string denied = windows::systemMessage(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(denied.empty()) << "the system has a sentence for error 5";
    EXPECT_EQ(denied.find('\n'), std::string::npos) << "without its line break";
    struct Case {
        DWORD code;
        std::string message;
    };
    const Case cases[] = {
        {ERROR_ACCESS_DENIED, "Opening the clipboard failed: " + denied + " (Windows error 5)"},
        {0x2000FFFF, "Opening the clipboard failed: Windows error 536936447"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windows::Win32Error("Opening the clipboard", c.code).what(), c.message);
}

} // namespace
