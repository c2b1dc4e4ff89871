// What the program does with COM objects that misbehave as a damaged Windows' do, told by
// stand-ins: a WMI enumerator that never answers or fails, a store page that takes keys or not,
// asks for new windows, closing or downloads, and an ATL host that keeps its settings or not.

#include "ThrowsNaming.h"

#include "platform/windows/BrowserHost.h"
#include "platform/windows/Com.h"
#include "platform/windows/ComWmi.h"
#include "platform/windows/System.h"
#include "results/StoreAddress.h"

#include <exdispid.h>
#include <mshtmhst.h>
#include <shobjidl.h>
#include <urlmon.h>

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

// The control's events as it raises them: arguments last first, Cancel by reference.
TEST(StorePageEvents, NoWindowOfTheControlsOwnAndOnlyWhatTheUserAskedForLeaves) {
    std::vector<std::wstring> opened;
    const windows::ComPtr<IDispatch> events =
        windows::makePageEvents([&](const std::wstring& address, bool userAsked) {
            // As the results window decides.
            if (pageRequest(windows::toUtf8(address), userAsked) == PageRequest::SystemHandler)
                opened.push_back(address);
        });
    const DWORD clicked = DWORD{NWMF_USERINITED} | DWORD{NWMF_FIRST};
    struct Case {
        const char* what;
        DISPID event;
        const wchar_t* address; // NEWWINDOW3's; FILEDOWNLOAD: null for a download, else a page
        DWORD flags;
        bool cancelled;
        bool leaves;
    };
    const Case cases[] = {
        {"a link with target=_blank", DISPID_NEWWINDOW3, L"https://store.test/buy?id=1", clicked,
         true, true},
        {"window.open on a click", DISPID_NEWWINDOW3, L"HTTP://store.test/cart", NWMF_USERINITED,
         true, true},
        {"window.open on load", DISPID_NEWWINDOW3, L"http://ads.test/", NWMF_FIRST, true, false},
        {"\"open in new window\"", DISPID_NEWWINDOW3, L"http://store.test/", NWMF_USERREQUESTED,
         true, true},
        {"a pop-up the user let through", DISPID_NEWWINDOW3, L"http://store.test/p",
         NWMF_USERALLOWED, true, true},
        {"a mail link", DISPID_NEWWINDOW3, L"mailto:sales@store.test", clicked, true, true},
        {"a file link", DISPID_NEWWINDOW3, L"file:///C:/Windows/win.ini", clicked, true, false},
        {"a resource", DISPID_NEWWINDOW3, L"res://ieframe.dll/navcancl.htm", clicked, true, false},
        {"a script", DISPID_NEWWINDOW3, L"javascript:alert(1)", clicked, true, false},
        {"another protocol", DISPID_NEWWINDOW3, L"ms-settings:display", clicked, true, false},
        {"the older new-window event, before NEWWINDOW3", DISPID_NEWWINDOW2, nullptr, 0, false,
         false},
        {"window.close()", DISPID_WINDOWCLOSING, nullptr, 0, true, false},
        {"a download", DISPID_FILEDOWNLOAD, nullptr, 0, true, false},
        {"a page the frame shows", DISPID_FILEDOWNLOAD, L"page", 0, false, false},
        {"the page's title", DISPID_TITLECHANGE, L"Store", 0, false, false},
    };
    for (const Case& c : cases) {
        opened.clear();
        VARIANT_BOOL cancel = VARIANT_FALSE;
        IDispatch* newWindow = nullptr;
        std::vector<VARIANT> arguments(5); // in the event's own order
        for (VARIANT& each : arguments)
            VariantInit(&each);
        arguments[0].vt = VT_BYREF | VT_DISPATCH;
        arguments[0].ppdispVal = &newWindow;
        arguments[1].vt = VT_BYREF | VT_BOOL;
        arguments[1].pboolVal = &cancel;
        const std::wstring address = c.address != nullptr ? c.address : L"";
        if (c.event == DISPID_NEWWINDOW3) {
            arguments[2].vt = VT_I4;
            arguments[2].lVal = static_cast<LONG>(c.flags);
            arguments[3].vt = VT_BSTR;
            arguments[3].bstrVal = SysAllocString(L"http://store.test/mc/quorvin.asp");
            arguments[4].vt = VT_BSTR;
            arguments[4].bstrVal = SysAllocString(address.c_str());
        } else if (c.event == DISPID_WINDOWCLOSING || c.event == DISPID_FILEDOWNLOAD) {
            // (IsChildWindow or ActiveDocument, Cancel)
            arguments[0].vt = VT_BOOL;
            arguments[0].boolVal = c.address != nullptr ? VARIANT_TRUE : VARIANT_FALSE;
            arguments.resize(2);
        } else if (c.event == DISPID_TITLECHANGE) {
            arguments[0].vt = VT_BSTR;
            arguments[0].bstrVal = SysAllocString(address.c_str());
            arguments.resize(1);
        } else {
            arguments.resize(2);
        }
        std::vector<VARIANT> lastFirst(arguments.rbegin(), arguments.rend());
        DISPPARAMS parameters{lastFirst.data(), nullptr, static_cast<UINT>(lastFirst.size()), 0};
        EXPECT_EQ(events->Invoke(c.event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                 &parameters, nullptr, nullptr, nullptr),
                  S_OK)
            << c.what;
        EXPECT_EQ(cancel == VARIANT_TRUE, c.cancelled) << c.what;
        EXPECT_EQ(newWindow, nullptr) << c.what << ": no window handed back";
        EXPECT_EQ(opened,
                  c.leaves ? std::vector<std::wstring>{address} : std::vector<std::wstring>{})
            << c.what;
        for (VARIANT& each : arguments)
            if (each.vt == VT_BSTR)
                VariantClear(&each);
    }
}

// ATL's host as the system's (keeping what it is told), Wine's (without ambient properties), and
// two that fail the page: one refuses the settings, one forgets them.
TEST(StorePageHost, SetsAndReadsBackTheAmbientPropertiesAndTheProcessFeatures) {
    windows::ComApartment apartment;
    const HMODULE standIn = LoadLibraryW(windows::toWide(QUORVIN_STAND_IN_ATL).c_str());
    ASSERT_NE(standIn, nullptr) << QUORVIN_STAND_IN_ATL;
    const auto behave = windows::libraryFunction<void (*)(int)>(standIn, "standInAmbient");
    const auto told = windows::libraryFunction<void (*)(int*, int*, DWORD*, VARIANT_BOOL*)>(
        standIn, "standInAmbientSet");
    ASSERT_TRUE(behave != nullptr && told != nullptr);
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                        nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    struct Case {
        const char* what;
        int mode;
        int puts;
        std::vector<std::string> error; // empty: the host is made
    };
    const Case cases[] = {
        {"the system's host", 0, 2, {}},
        {"a host that refuses them", 1, 1, {"DocHostFlags", "E_ACCESSDENIED"}},
        {"a host that forgets them", 2, 2, {"did not keep the page's settings"}},
        {"Wine's host, without ambient properties", 3, 0, {}},
    };
    for (const Case& c : cases) {
        behave(c.mode);
        std::unique_ptr<windows::BrowserHost> host;
        const auto make = [&] {
            host = windows::BrowserHost::create(
                parent, 100, RECT{0, 0, 300, 200}, [](const std::wstring&, bool) {}, standIn);
        };
        if (!c.error.empty()) {
            EXPECT_TRUE(throwsNaming<std::runtime_error>(make, c.error)) << c.what;
            EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr) << c.what << ": no control is left";
        } else {
            make();
            ASSERT_NE(host, nullptr) << c.what;
            const windows::HostSettings& kept = host->settings();
            EXPECT_EQ(kept.docHostFlags.has_value(), c.mode == 0) << c.what;
            EXPECT_EQ(kept.docHostFlags.value_or(0), c.mode == 0 ? 0x40000004u : 0u) << c.what;
            EXPECT_EQ(kept.contextMenu, c.mode == 0 ? std::optional(false) : std::nullopt)
                << c.what;
            EXPECT_TRUE(kept.features) << c.what;
            EXPECT_TRUE(host->silent()) << c.what;
        }
        int puts = 0, others = 0;
        DWORD flags = 0;
        VARIANT_BOOL menu = VARIANT_TRUE;
        told(&puts, &others, &flags, &menu);
        EXPECT_EQ(puts, c.puts) << c.what;
        EXPECT_EQ(others, 0) << c.what << ": nothing else is set";
        if (c.puts > 0) {
            EXPECT_EQ(flags, DWORD{DOCHOSTUIFLAG_DPI_AWARE} | DWORD{DOCHOSTUIFLAG_NO3DBORDER})
                << c.what;
        }
        if (c.puts > 1) {
            EXPECT_EQ(menu, VARIANT_FALSE) << c.what;
        }
    }
    // Per process, and nowhere in the registry.
    EXPECT_EQ(CoInternetIsFeatureEnabled(FEATURE_WEBOC_POPUPMANAGEMENT, GET_FEATURE_FROM_PROCESS),
              S_OK);
    EXPECT_EQ(
        CoInternetIsFeatureEnabled(FEATURE_DISABLE_NAVIGATION_SOUNDS, GET_FEATURE_FROM_PROCESS),
        S_OK);
    DestroyWindow(parent);
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
