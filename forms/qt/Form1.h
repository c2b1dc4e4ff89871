#pragma once

#include "results/ResultsWindow.h"

#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QCloseEvent;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quorvin::layout {
struct Control;
}
namespace quorvin::qt {
class BrowserControl;
class ClickableLabel;
} // namespace quorvin::qt

namespace quorvin::qtforms {

class LayoutWidgets;

// A module list's selected row, -1 when none is selected.
int selectedIndex(const QListWidget* list);

// The results window: frames of captioned values, the three module lists, the chat picture and
// link, the copy button and the store page. It is created empty; its controls are made when the
// scan first touches one of them, or when it is first shown. What the scan does with it is its
// ResultsWindow's, which reaches the controls through ResultsWindow::Controls.
class Form1 : public QWidget, private quorvin::ResultsWindow::Controls {
    Q_OBJECT
public:
    // chatBrowser: the exact path of the program the chat picture and link start.
    Form1(quorvin::ScanEnvironment environment, std::string chatBrowser, QWidget* parent = nullptr);
    ~Form1() override;

    quorvin::ResultsWindow& results() { return results_; }
    const quorvin::ResultsWindow& results() const { return results_; }
    void setVisible(bool visible) override;

    // The controls by their names, for the program's own checks; null before the window loads.
    QListWidget* moduleList(quorvin::ModuleList list) const;
    QLabel* valueLabel(quorvin::ValueLabel label) const;
    QPushButton* clipboardCmd() const { return clipboardCmd_; }
    quorvin::qt::ClickableLabel* image1() const { return image1_; }
    quorvin::qt::ClickableLabel* label39() const { return label39_; }
    quorvin::qt::BrowserControl* wb() const { return wb_; }

signals:
    void unloaded(); // closed by its close box or by the program

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // ResultsWindow::Controls
    void loadControls() override;
    bool controlsLoaded() const override { return controls_ != nullptr; }
    void clearListControl(quorvin::ModuleList list) override;
    void addListControlRow(quorvin::ModuleList list, const std::string& row) override;
    void setLabelCaption(quorvin::ValueLabel label, const std::string& text) override;
    std::string labelCaption(quorvin::ValueLabel label) const override;
    void navigateBrowser(const std::string& url) override;
    bool putOnClipboard(const std::string& text) override;

    // The widget for one control of the layout, before the layout's row is applied to it.
    QWidget* makeControl(const quorvin::layout::Control& control, QWidget* parent);
    // What needs the control's final font and size, or a neighbour: fitting fixed captions,
    // tying each caption label to the value or list it names.
    void finishControl(const quorvin::layout::Control& control);
    QListWidget* requireList(quorvin::ModuleList list) const;
    void applyTabOrder();
    // slotsLst, clipboardCmd, WB, memoryLst, speedLst: the controls Tab visits, in its order.
    std::vector<QWidget*> tabStops() const;
    void startChat();

    std::string chatBrowser_;
    std::unique_ptr<LayoutWidgets> controls_;
    std::map<quorvin::ValueLabel, QLabel*> valueLabels_;
    QListWidget* slotsLst_ = nullptr;
    QListWidget* memoryLst_ = nullptr;
    QListWidget* speedLst_ = nullptr;
    quorvin::qt::ClickableLabel* image1_ = nullptr;
    quorvin::qt::ClickableLabel* label39_ = nullptr;
    QPushButton* clipboardCmd_ = nullptr;
    quorvin::qt::BrowserControl* wb_ = nullptr;
    quorvin::ResultsWindow results_;
};

} // namespace quorvin::qtforms
