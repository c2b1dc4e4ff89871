#pragma once

#include "Report.h"
#include "ResultsControls.h"
#include "scan/ScanRecord.h"
#include "scan/SystemQueries.h"
#include "scan/values/ScanValue.h"

#include <string>

namespace quorvin {

// What a results window needs from outside: where WMI answers, how numbers are written for the
// user, and the store's host and scheme. The provider must outlive the window.
struct ScanEnvironment {
    wmi::WmiProvider& provider;
    NumberFormat format;
    std::string storeHost;
    // "http" or "https"; the programs pass their build's, whose default is the plain "http" the
    // store's address has always had.
    std::string storeScheme = "http";
};

// The results window as the scan sees it: it owns the scan record, the report text and the WMI
// session, and runs the scan. Each toolkit's Form1 holds one and lends it its controls. A window
// is created without its controls; the first use of any control loads it: the controls are made,
// then the load step blanks the value labels and sets the module counter to 0.
class ResultsWindow final : public ResultsControls {
public:
    // What a concrete window lends: its native controls, made on first use.
    class Controls {
    public:
        // Makes the controls; called only while they are not loaded, just before the load step.
        virtual void loadControls() = 0;
        virtual bool controlsLoaded() const = 0;
        virtual void clearListControl(ModuleList list) = 0;
        virtual void addListControlRow(ModuleList list, const std::string& row) = 0;
        virtual void setLabelCaption(ValueLabel label, const std::string& text) = 0;
        virtual std::string labelCaption(ValueLabel label) const = 0;
        virtual void navigateBrowser(const std::string& url) = 0;
        // One try at emptying the clipboard and putting the text on it as plain text: false
        // while another program holds it; throws for any other failure.
        virtual bool putOnClipboard(const std::string& text) = 0;

    protected:
        ~Controls() = default;
    };

    // The controls must outlive the results window.
    ResultsWindow(ScanEnvironment environment, Controls& controls);
    ResultsWindow(const ResultsWindow&) = delete;
    ResultsWindow& operator=(const ResultsWindow&) = delete;

    // The whole scan: queries, display, report and store page. Returns the text "Success";
    // every failure is thrown, leaving what was written so far in place.
    ScanValue getQuorvin();

    // The copy button: puts the report text on the clipboard, trying again while another program
    // holds it (see copyWithRetry); throws ClipboardError when it stays held.
    void copyReport();

    // Loads the window if it is not loaded yet (also done by showing it).
    void ensureLoaded();
    bool isLoaded() const { return controls_.controlsLoaded(); }

    const ScanRecord& record() const { return record_; }
    const std::string& reportText() const { return reportText_; }
    const ScanEnvironment& environment() const { return environment_; }

    // ResultsControls: each first loads the window.
    void clearList(ModuleList list) override;
    void addListRow(ModuleList list, const std::string& row) override;
    void setCaption(ValueLabel label, const std::string& text) override;
    std::string caption(ValueLabel label) override;
    void navigate(const std::string& url) override;

    // How the copy waits between its tries.
    ClipboardRetry clipboardRetry;

private:
    ScanEnvironment environment_;
    Controls& controls_;
    ScanRecord record_;
    std::string reportText_;
    WmiSession session_;
};

} // namespace quorvin
