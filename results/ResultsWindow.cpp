#include "ResultsWindow.h"

#include "Display.h"
#include "Report.h"
#include "StoreAddress.h"
#include "forms/WindowLayout.h"
#include "scan/SystemQueries.h"

namespace quorvin {

ResultsWindow::ResultsWindow(ScanEnvironment environment, Controls& controls)
    : environment_(std::move(environment))
    , controls_(controls) {
    // The labels the scan fills are the layout's: a table and a scan that differ stop the
    // program at once, before anything is scanned.
    static const bool checked =
        (checkValueLabels(), layout::checkModuleLists(layout::form1Layout()), true);
    (void)checked;
}

ScanValue ResultsWindow::getQuorvin() {
    const NumberFormat& format = environment_.format;
    runScanQueries(record_, session_, environment_.provider, *this, format);
    fillDisplay(record_, *this, format);
    reportText_ =
        buildReport(record_, caption(ValueLabel::Label35), caption(ValueLabel::Label36), format);
    openStorePage(record_, *this, environment_.storeScheme, environment_.storeHost, format);
    return ScanValue::text("Success");
}

void ResultsWindow::copyReport() {
    copyWithRetry([this] { return controls_.putOnClipboard(reportText_); }, clipboardRetry);
}

void ResultsWindow::ensureLoaded() {
    if (controls_.controlsLoaded())
        return;
    controls_.loadControls();
    for (const ValueLabel label : allValueLabels)
        controls_.setLabelCaption(label, "");
    record_.scanModuleCount = 0;
}

void ResultsWindow::clearList(ModuleList list) {
    ensureLoaded();
    controls_.clearListControl(list);
}

void ResultsWindow::addListRow(ModuleList list, const std::string& row) {
    ensureLoaded();
    controls_.addListControlRow(list, row);
}

void ResultsWindow::setCaption(ValueLabel label, const std::string& text) {
    ensureLoaded();
    controls_.setLabelCaption(label, text);
}

std::string ResultsWindow::caption(ValueLabel label) {
    ensureLoaded();
    return controls_.labelCaption(label);
}

void ResultsWindow::navigate(const std::string& url) {
    ensureLoaded();
    controls_.navigateBrowser(url);
}

} // namespace quorvin
