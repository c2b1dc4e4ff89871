#include "ResultsWindow.h"

#include "Display.h"
#include "Report.h"
#include "StoreAddress.h"
#include "forms/ModuleListCoupling.h"
#include "scan/SystemQueries.h"

namespace quorvin {

ResultsWindow::ResultsWindow(ScanEnvironment environment)
    : environment_(std::move(environment)) {
    // The labels the scan fills are the layout's: a table and a scan that differ stop the
    // program at once, before anything is scanned.
    static const bool checked =
        (checkValueLabels(), layout::checkModuleLists(layout::form1Layout()), true);
    (void)checked;
}

ResultsWindow::~ResultsWindow() = default;

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
    copyWithRetry([this] { return putOnClipboard(reportText_); }, clipboardRetry);
}

void ResultsWindow::ensureLoaded() {
    if (loaded_)
        return;
    loaded_ = true;
    createControls();
    runLoadStep();
}

void ResultsWindow::runLoadStep() {
    for (const ValueLabel label : allValueLabels)
        setLabelCaption(label, "");
    record_.scanModuleCount = 0;
}

void ResultsWindow::clearList(ModuleList list) {
    ensureLoaded();
    clearListControl(list);
}

void ResultsWindow::addListRow(ModuleList list, const std::string& row) {
    ensureLoaded();
    addListControlRow(list, row);
}

void ResultsWindow::setCaption(ValueLabel label, const std::string& text) {
    ensureLoaded();
    setLabelCaption(label, text);
}

std::string ResultsWindow::caption(ValueLabel label) {
    ensureLoaded();
    return labelCaption(label);
}

void ResultsWindow::navigate(const std::string& url) {
    ensureLoaded();
    navigateBrowser(url);
}

} // namespace quorvin
