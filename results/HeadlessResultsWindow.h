#pragma once

#include "ResultsWindow.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quorvin {

// A results window without a screen: it keeps what the scan puts into its controls, and a log of
// the control operations in the order they came. The command-line report runs the scan against
// it, and the tests check the scan's order of steps with it.
class HeadlessResultsWindow : private ResultsWindow::Controls {
public:
    explicit HeadlessResultsWindow(ScanEnvironment environment)
        : results_(std::move(environment), *this) {}

    ResultsWindow& results() { return results_; }
    ScanValue getQuorvin() { return results_.getQuorvin(); }
    void copyReport() { results_.copyReport(); }
    bool isLoaded() const { return results_.isLoaded(); }
    const ScanRecord& record() const { return results_.record(); }
    const std::string& reportText() const { return results_.reportText(); }

    const std::vector<std::string>& rows(ModuleList list) const;
    const std::vector<std::string>& navigations() const { return navigations_; }
    // "load", "clear Slots", "row Memory 8192 MB", "caption Label35 8 GB", "navigate <url>"...
    const std::vector<std::string>& log() const { return log_; }
    int loadCount() const { return loadCount_; }

    // A clipboard that another program holds for the first clipboardRefusals tries (-1: always);
    // what it took last.
    int clipboardRefusals = 0;
    int clipboardTries = 0;
    std::string clipboardText;
    // Runs as the controls load, before the load step.
    std::function<void()> onLoad;

private:
    void loadControls() override;
    bool controlsLoaded() const override { return loadCount_ > 0; }
    void clearListControl(ModuleList list) override;
    void addListControlRow(ModuleList list, const std::string& row) override;
    void setLabelCaption(ValueLabel label, const std::string& text) override;
    std::string labelCaption(ValueLabel label) const override;
    void navigateBrowser(const std::string& url) override;
    bool putOnClipboard(const std::string& text) override;

    std::map<ValueLabel, std::string> captions_;
    std::map<ModuleList, std::vector<std::string>> rows_;
    std::vector<std::string> navigations_;
    std::vector<std::string> log_;
    int loadCount_ = 0;
    ResultsWindow results_; // last: it is given the controls above
};

} // namespace quorvin
