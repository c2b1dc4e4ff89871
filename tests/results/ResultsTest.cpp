// Display, report and store address over scan records: the texts the user and the store see.

#include "TestMachine.h"

#include "results/Display.h"
#include "results/HeadlessResultsWindow.h"
#include "results/Report.h"
#include "results/StoreAddress.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace quorvin;
using namespace quorvin::test;

namespace {

// Decodes a percent-encoded query value, as the store's server does.
std::string percentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The query's pairs in order, split at "&" and decoded.
std::vector<std::pair<std::string, std::string>> decodedQuery(const std::string& address) {
    const auto q = address.find('?');
    std::vector<std::pair<std::string, std::string>> pairs;
    std::stringstream in(address.substr(q + 1));
    std::string pair;
    while (std::getline(in, pair, '&')) {
        const auto eq = pair.find('=');
        pairs.emplace_back(pair.substr(0, eq), percentDecode(pair.substr(eq + 1)));
    }
    return pairs;
}

struct PlaceholderCase {
    ScanValue before;
    ScanValue after;
};

TEST(Display, ReplacesSystemPlaceholdersCaseSensitivelyInTheFiveIdentityFields) {
    const PlaceholderCase cases[] = {
        {txt("System manufacturer"), txt("Not Available")},
        {txt("System Product Name"), txt("Not Available")},
        {txt("Home System 5"), txt("Not Available")},
        {txt("XSystems"), txt("Not Available")},
        {txt("SYSTEM"), txt("SYSTEM")},
        {txt("system board"), txt("system board")},
        {txt(""), txt("")},
        {ScanValue(), ScanValue()},
        {ScanValue::null(), ScanValue::null()},
        {num(5), num(5)},
    };
    for (const auto& c : cases) {
        ScanRecord r;
        r.scanSysManufacturer = r.scanProductVersion = r.scanSysModel = r.scanProductVendor =
            r.scanProductNumber = c.before;
        r.scanSysType = r.scanBoardProduct = r.scanCpuName = r.scanBiosVersion = txt("System X");
        replacePlaceholders(r);
        for (const ScanValue* v : {&r.scanSysManufacturer, &r.scanProductVersion, &r.scanSysModel,
                                   &r.scanProductVendor, &r.scanProductNumber})
            EXPECT_EQ(*v, c.after) << describe(c.before);
        // Fields outside the five are never tested.
        for (const ScanValue* v :
             {&r.scanSysType, &r.scanBoardProduct, &r.scanCpuName, &r.scanBiosVersion})
            EXPECT_EQ(*v, txt("System X"));
    }
}

struct SizeTextCase {
    double gigabytes;
    const char* separator;
    const char* text;
};

TEST(Display, MemorySizesShowInGigabytesFromOneUpAndMegabytesBelow) {
    const SizeTextCase cases[] = {
        {8.0, ".", "8 GB"},       {3.99, ".", "3.99 GB"},    {3.99, ",", "3,99 GB"},
        {1.0, ".", "1 GB"},       {0.99, ".", "1013.76 MB"}, {0.98, ".", "1003.52 MB"},
        {0.5, ".", "512 MB"},     {0.0, ".", "0 MB"},        {0.12, ",", "122,88 MB"},
        {15.92, ".", "15.92 GB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(memorySizeText(c.gigabytes, 1024.0, NumberFormat{c.separator}), c.text);
}

TEST(Display, SlotsTextCarriesSocketsAndModulesInUse) {
    EXPECT_EQ(slotsText(num(4), 2, {}), "4  (Currently Memory in 2 Slots)");
    EXPECT_EQ(slotsText(num(2), 0, {}), "2  (Currently Memory in 0 Slots)");
    EXPECT_EQ(slotsText(ScanValue(), 1, {}), "  (Currently Memory in 1 Slots)");
    EXPECT_EQ(slotsText(ScanValue::null(), 1, {}), "  (Currently Memory in 1 Slots)");
}

struct Window {
    explicit Window(snapshot::Snapshot s, NumberFormat format = NumberFormat{"."})
        : provider(std::move(s))
        , window(ScanEnvironment{provider, format, "store.test"}) {}
    snapshot::SnapshotProvider provider;
    HeadlessResultsWindow window;
};

TEST(Display, FillsEveryValueLabelFromTheRecord) {
    // Every identity text its own, so that a label filled from another's field shows.
    Window w(hostileMachine());
    w.window.getQuorvin();
    const std::pair<ValueLabel, std::string> expected[] = {
        {ValueLabel::Label21, hostileMaker},
        {ValueLabel::Label22, hostileModel},
        {ValueLabel::Label23, "Vendor Ltd"},
        {ValueLabel::Label24, "Rev A"},
        {ValueLabel::Label25, "SN-0042"},
        {ValueLabel::Label26, "x64-based PC"},
        {ValueLabel::Label27, "Brand CPU 3.40GHz"},
        {ValueLabel::Label28, "GenuineIntel"},
        {ValueLabel::Label41, "3400"},
        {ValueLabel::Label29, "100"},
        {ValueLabel::Label30, "Board Maker Inc."},
        {ValueLabel::Label31, hostileBoard},
        {ValueLabel::Label32, "American Megatrends Inc."},
        {ValueLabel::Label33, "2103"},
        {ValueLabel::Label34, ""},
        {ValueLabel::Label35, "15.92 GB"},
        {ValueLabel::Label36, "32 GB"},
        {ValueLabel::Label37, "4  (Currently Memory in 3 Slots)"},
    };
    for (const auto& [label, text] : expected)
        EXPECT_EQ(w.window.results().caption(label), text) << labelName(label);
}

TEST(Report, HasThirtyFiveCrLfLinesWithTheExactLabels) {
    Window w(typicalMachine());
    w.window.getQuorvin();
    EXPECT_EQ(w.window.reportText(), typicalMachineReport());
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = w.window.reportText().find("\r\n", at)) != std::string::npos;
         at += 2)
        ++lines;
    EXPECT_EQ(lines, 35u);
    EXPECT_EQ(w.window.reportText().find('\n'), w.window.reportText().find("\r\n") + 1);
}

TEST(Report, EmptyAndNullValuesLeaveTheLabelAlone) {
    ScanRecord r; // a record no scan touched: no modules, no array, nothing
    r.scanCpuBusClock = ScanValue::null();
    const std::string report = buildReport(r, "512 MB", "0 MB", {});
    EXPECT_NE(report.find("\r\nProcessor FSB: \r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nInstalled RAM: 512 MB\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\nMaximum RAM: 0 MB\r\nTotal Slots: \r\n"), std::string::npos);
    EXPECT_TRUE(report.ends_with("\r\nCapacity: \r\nMemory Type: \r\nSpeed: \r\nSlots: \r\n"));
}

TEST(Report, UsesTheDecimalCommaOfTheUsersLocale) {
    snapshot::Snapshot s =
        typicalMachineWith("Win32_ComputerSystem", "TotalPhysicalMemory", txt("4284481536"));
    Window w(std::move(s), NumberFormat{","});
    w.window.getQuorvin();
    EXPECT_NE(w.window.reportText().find("\r\nInstalled RAM: 3,99 GB\r\n"), std::string::npos);
}

TEST(StoreAddress, TheWorkedExampleDecodesToItsStatedTexts) {
    StoreQuery q{"A1",
                 "B2",
                 "C3",
                 "8 GB",
                 "4  (Currently Memory in 2 Slots)",
                 "800 MHz,800 MHz,",
                 "2048 MB,2048 MB,",
                 "2400"};
    const std::string address = storeAddress("http", "store.test", q);
    EXPECT_EQ(address, "http://store.test/mc/quorvin.asp?manufacturer=A1&mdlname=B2&bName=C3"
                       "&maxmemory=8%20GB&totalslots=4%20%20(Currently%20Memory%20in%202%20Slots)"
                       "&memoryspeeds=800%20MHz,800%20MHz,&memorysize=2048%20MB,2048%20MB,"
                       "&processorspeed=2400&site=Brindlemark");
    const std::vector<std::pair<std::string, std::string>> expected{
        {"manufacturer", "A1"},
        {"mdlname", "B2"},
        {"bName", "C3"},
        {"maxmemory", "8 GB"},
        {"totalslots", "4  (Currently Memory in 2 Slots)"},
        {"memoryspeeds", "800 MHz,800 MHz,"},
        {"memorysize", "2048 MB,2048 MB,"},
        {"processorspeed", "2400"},
        {"site", "Brindlemark"}};
    EXPECT_EQ(decodedQuery(address), expected);
}

// The build's scheme starts the store page's and the chat's addresses; nothing after "://" changes.
TEST(StoreAddress, TheSchemeChangesOnlyTheAddressesBeginning) {
    snapshot::SnapshotProvider provider(hostileMachine());
    HeadlessResultsWindow https(
        ScanEnvironment{provider, NumberFormat{"."}, "store.test", "https"});
    Window http(hostileMachine());
    https.getQuorvin();
    http.window.getQuorvin();
    EXPECT_EQ(https.navigations().at(0), "https" + http.window.navigations().at(0).substr(4));
    EXPECT_EQ(chatAddress("https", "store.test"),
              "https://store.test/support/UserPreChat.aspx?ref=CustomerScanWindow");
}

TEST(StoreAddress, HostileValuesDecodeBackUnchanged) {
    const std::string longValue(10000, 'x');
    const std::string hostile[] = {"Smith & Sons", "Model #5",          "A+B",        "100% Pure",
                                   "a=b?c",        "Ünïcødé 型号",      "semi;colon", "<img src=x>",
                                   longValue,      "tab\there\r\nline", "%41"};
    for (const std::string& value : hostile) {
        StoreQuery q{value, value, value, "8 GB", "4", value, value, value};
        const auto pairs = decodedQuery(storeAddress("http", "store.test", q));
        ASSERT_EQ(pairs.size(), 9u) << value;
        for (const std::size_t i : {0u, 1u, 2u, 5u, 6u, 7u})
            EXPECT_EQ(pairs[i].second, value) << pairs[i].first;
        EXPECT_EQ(pairs[8], (std::pair<std::string, std::string>{"site", "Brindlemark"}));
    }
}

TEST(StoreAddress, PageRequestsGoToTheUsersOwnHandlerOrNowhere) {
    constexpr auto handler = PageRequest::SystemHandler;
    constexpr auto refused = PageRequest::Refused;
    const struct {
        const char* address;
        bool userAsked;
        PageRequest expected;
    } cases[] = {
        {"http://store.test/buy?item=1", true, handler},
        {"HTTPS://store.test/", true, handler},
        {"mailto:sales@store.test?subject=RAM", true, handler},
        {"http://store.test/popup", false, refused}, // a pop-up nobody clicked for
        {"mailto:sales@store.test", false, refused},
        {"file:///C:/Windows/win.ini", true, refused},
        {"file://server/share/setup.exe", true, refused},
        {"res://ieframe.dll/navcancl.htm", true, refused},
        {"javascript:alert(1)", true, refused},
        {"ms-settings:display", true, refused},
        {"shell:startup", true, refused},
        {"about:blank", true, refused},
        {"C:\\Windows\\notepad.exe", true, refused},
        {"\\\\server\\share", true, refused},
        {"//store.test/page", true, refused},
        {"http:store.test", true, refused},
        {"http://", true, refused},
        {"mailto:", true, refused},
        {"", true, refused},
        {"http://store.test/a b", true, refused},
        {"http://store.test/\r\nX-Header: 1", true, refused},
        {"https://store.test/\x7f", true, refused},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pageRequest(c.address, c.userAsked), c.expected)
            << c.address << " asked by the user: " << c.userAsked;
}

struct FallbackCase {
    ScanValue model;
    ScanValue board;
    ScanValue modelAfter;
};

TEST(StoreAddress, ModelFallsBackToTheBoardOnlyForNotAvailable) {
    const FallbackCase cases[] = {
        {txt("Not Available"), txt("C3"), txt("C3")},
        {txt("Not Available"), ScanValue::null(), ScanValue::null()},
        {txt("Not Available"), ScanValue(), ScanValue()},
        {txt("not available"), txt("C3"), txt("not available")},
        {txt("Not Available "), txt("C3"), txt("Not Available ")},
        {ScanValue::null(), txt("C3"), ScanValue::null()},
        {ScanValue(), txt("C3"), ScanValue()},
        {txt("B2"), txt("C3"), txt("B2")},
    };
    for (const auto& c : cases) {
        ScanRecord r;
        r.scanSysModel = c.model;
        r.scanBoardProduct = c.board;
        applyModelFallback(r);
        EXPECT_EQ(r.scanSysModel, c.modelAfter) << describe(c.model) << " / " << describe(c.board);
    }
}

TEST(StoreAddress, AReplacedModelCarriesTheBoardWhileWindowAndReportKeepNotAvailable) {
    Window w(typicalMachineWith("Win32_ComputerSystem", "Model", txt("System Product Name")));
    w.window.getQuorvin();
    EXPECT_EQ(w.window.results().caption(ValueLabel::Label22), "Not Available");
    EXPECT_NE(w.window.reportText().find("System Model: Not Available\r\n"), std::string::npos);
    ASSERT_EQ(w.window.navigations().size(), 1u);
    const auto pairs = decodedQuery(w.window.navigations().front());
    EXPECT_EQ(pairs[1], (std::pair<std::string, std::string>{"mdlname", "P8Z77-V LX"}));
    EXPECT_EQ(w.window.record().scanSysModel, txt("P8Z77-V LX"));
}

TEST(StoreAddress, NoModulesLeaveTheMemoryKeysEmpty) {
    StoreQuery q;
    q.maxMemory = "0 MB";
    q.totalSlots = "  (Currently Memory in 0 Slots)";
    const std::string address = storeAddress("http", "h", q);
    EXPECT_NE(address.find("&memoryspeeds=&memorysize=&processorspeed=&site=Brindlemark"),
              std::string::npos);
    EXPECT_NE(address.find("?manufacturer=&mdlname=&bName=&maxmemory="), std::string::npos);
}

} // namespace

namespace {

TEST(ClipboardCopy, AHeldClipboardIsTriedAgainForAboutASecondThenTheCopyFails) {
    struct Case {
        int refusals; // -1: held for good
        int tries;
        bool copied;
    };
    const Case cases[] = {
        {0, 1, true}, {3, 4, true}, {49, 50, true}, {50, 50, false}, {-1, 50, false}};
    for (const Case& c : cases) {
        Window w(typicalMachine());
        ASSERT_EQ(w.window.getQuorvin(), ScanValue::text("Success"));
        w.window.clipboardRefusals = c.refusals;
        std::chrono::milliseconds waited{0};
        int pauses = 0;
        w.window.results().clipboardRetry.wait = [&](std::chrono::milliseconds pause) {
            waited += pause;
            ++pauses;
        };
        if (c.copied) {
            w.window.copyReport();
            EXPECT_EQ(w.window.clipboardText, w.window.reportText()) << c.refusals;
        } else {
            EXPECT_THROW(w.window.copyReport(), ClipboardError) << c.refusals;
            EXPECT_EQ(w.window.clipboardText, "") << c.refusals;
        }
        EXPECT_EQ(w.window.clipboardTries, c.tries) << c.refusals;
        // A pause between two tries, none after the last: under a second in all.
        EXPECT_EQ(pauses, c.tries - 1) << c.refusals;
        EXPECT_EQ(waited, std::chrono::milliseconds(20) * (c.tries - 1)) << c.refusals;
    }
}

} // namespace
