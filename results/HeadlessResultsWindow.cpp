#include "HeadlessResultsWindow.h"

namespace quorvin {

const std::vector<std::string>& HeadlessResultsWindow::rows(ModuleList list) const {
    static const std::vector<std::string> none;
    const auto it = rows_.find(list);
    return it == rows_.end() ? none : it->second;
}

void HeadlessResultsWindow::loadControls() {
    if (onLoad)
        onLoad();
    ++loadCount_;
    log_.push_back("load");
}

void HeadlessResultsWindow::clearListControl(ModuleList list) {
    rows_[list].clear();
    log_.push_back(std::string("clear ") + listName(list));
}

void HeadlessResultsWindow::addListControlRow(ModuleList list, const std::string& row) {
    rows_[list].push_back(row);
    log_.push_back(std::string("row ") + listName(list) + " " + row);
}

void HeadlessResultsWindow::setLabelCaption(ValueLabel label, const std::string& text) {
    captions_[label] = text;
    log_.push_back("caption " + labelName(label) + " " + text);
}

std::string HeadlessResultsWindow::labelCaption(ValueLabel label) const {
    const auto it = captions_.find(label);
    return it == captions_.end() ? std::string("Label21") : it->second; // the designer's caption
}

void HeadlessResultsWindow::navigateBrowser(const std::string& url) {
    navigations_.push_back(url);
    log_.push_back("navigate " + url);
}

bool HeadlessResultsWindow::putOnClipboard(const std::string& text) {
    ++clipboardTries;
    if (clipboardRefusals < 0 || clipboardTries <= clipboardRefusals)
        return false;
    clipboardText = text;
    return true;
}

} // namespace quorvin
