#include "ResultsWindow.h"

#include "Display.h"
#include "Report.h"
#include "StoreAddress.h"
#include "scan/SystemQueries.h"

namespace quorvin {

ResultsWindow::ResultsWindow(ScanEnvironment environment)
    : environment_(std::move(environment)) {}

ResultsWindow::~ResultsWindow() = default;

ScanValue ResultsWindow::getQuorvin() {
    const NumberFormat& format = environment_.format;
    runScanQueries(record_, session_, environment_.provider, *this, format);
    fillDisplay(record_, *this, format);
    reportText_ =
        buildReport(record_, caption(ValueLabel::Label35), caption(ValueLabel::Label36), format);
    openStorePage(record_, *this, environment_.storeHost, format);
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
