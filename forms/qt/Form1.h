#pragma once

#include "results/ResultsWindow.h"

#include <QWidget>

#include <array>
#include <map>

class QCloseEvent;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quorvin::qt {
class BrowserControl;
class ClickableLabel;
} // namespace quorvin::qt

// The results window: frames of captioned values, the three module lists, the chat picture and
// link, the copy button and the store page. It is created empty; its controls are made when the
// scan first touches one of them, or when it is first shown.
class Form1 : public QWidget, public quorvin::ResultsWindow {
    Q_OBJECT
public:
    explicit Form1(quorvin::ScanEnvironment environment, QWidget* parent = nullptr);
    ~Form1() override;

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
    void createControls() override;
    void clearListControl(quorvin::ModuleList list) override;
    void addListControlRow(quorvin::ModuleList list, const std::string& row) override;
    void setLabelCaption(quorvin::ValueLabel label, const std::string& text) override;
    std::string labelCaption(quorvin::ValueLabel label) const override;
    void navigateBrowser(const std::string& url) override;

private:
    void createSystemFrames(QGroupBox* frame1);
    void createModuleTable(QGroupBox* frame1);
    void createCommandArea(QGroupBox* frame1);
    void createStorePage(QGroupBox* frame1);
    void addValueRow(QGroupBox* frame, int top, const char* captionName, const char* caption,
                     int captionWidth, quorvin::ValueLabel value, int valueWidth);
    QListWidget* requireList(quorvin::ModuleList list) const;
    void applyTabOrder();
    // slotsLst, clipboardCmd, WB, memoryLst, speedLst: the controls Tab visits, in its order.
    std::array<QWidget*, 5> tabStops() const;
    void copyReport();
    void startChat();

    std::map<quorvin::ValueLabel, QLabel*> valueLabels_;
    QListWidget* slotsLst_ = nullptr;
    QListWidget* memoryLst_ = nullptr;
    QListWidget* speedLst_ = nullptr;
    quorvin::qt::ClickableLabel* image1_ = nullptr;
    quorvin::qt::ClickableLabel* label39_ = nullptr;
    QPushButton* clipboardCmd_ = nullptr;
    quorvin::qt::BrowserControl* wb_ = nullptr;
};
