#include "Form1.h"

#include "EnterPressesButton.h"
#include "Form1Layout.h"
#include "Form1Style.h"
#include "ModuleListCoupling.h"
#include "platform/qt/BrowserControl.h"
#include "platform/qt/ClickableLabel.h"
#include "platform/qt/ProgramStart.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtText.h"
#include "results/ChatLink.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <stdexcept>

using form1::twipRect;
using quorvin::ModuleList;
using quorvin::ValueLabel;

namespace {

constexpr const char* chatBrowserProgram = QUORVIN_CHAT_BROWSER;

QGroupBox* makeFrame(QWidget* parent, const char* caption, QRect geometry) {
    auto* frame = new QGroupBox(QString::fromUtf8(caption), parent);
    frame->setFont(form1::headingFont());
    frame->setGeometry(geometry);
    return frame;
}

QLabel* makeHeading(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setFont(form1::headingFont());
    label->setGeometry(geometry);
    form1::condenseToFit(label, label->text(), geometry.width());
    return label;
}

QLabel* makeValueLabel(QWidget* parent, ValueLabel name, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromStdString(quorvin::labelName(name)));
    label->setTextFormat(Qt::PlainText); // scanned texts are never markup
    label->setFont(form1::defaultFont());
    form1::makeTextBlue(label);
    label->setGeometry(geometry);
    label->setText(QStringLiteral("Label21"));
    return label;
}

QListWidget* makeList(QWidget* parent, const char* name, QRect geometry) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromUtf8(name));
    list->setFont(form1::defaultFont());
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setGeometry(geometry);
    return list;
}

} // namespace

Form1::Form1(quorvin::ScanEnvironment environment, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , quorvin::ResultsWindow(std::move(environment)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(quorvin::qt::programTitle));
    setWindowIcon(form1::programIcon());
    setFont(form1::defaultFont());
    // The client area opens 1845 twips from the screen's left and 330 from its top.
    const QRect client = twipRect(1845, 330, 11775, 10590);
    setGeometry(client);
    setFixedSize(client.size());
}

Form1::~Form1() = default;

void Form1::setVisible(bool visible) {
    if (visible)
        ensureLoaded();
    QWidget::setVisible(visible);
    if (visible && slotsLst_ != nullptr)
        slotsLst_->setFocus(Qt::OtherFocusReason);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    emit unloaded();
}

void Form1::createControls() {
    // Frame1 is as wide as the window and starts above it, so that only its left, right and
    // bottom edges show.
    auto* frame1 = makeFrame(this, "", twipRect(0, -120, 11775, 10695));
    frame1->setObjectName(QStringLiteral("Frame1"));
    createSystemFrames(frame1);
    createModuleTable(frame1);
    createCommandArea(frame1);
    createStorePage(frame1);

    applyTabOrder();
    connect(wb_, &quorvin::qt::BrowserControl::focusWidgetsChanged, this, &Form1::applyTabOrder);
    form1::coupleModuleLists(slotsLst_, memoryLst_, speedLst_);
    slotsLst_->setFocus(Qt::OtherFocusReason);
}

void Form1::applyTabOrder() {
    const auto stops = tabStops();
    for (std::size_t i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1], stops[i]);
}

std::array<QWidget*, 5> Form1::tabStops() const {
    return {slotsLst_, clipboardCmd_, wb_, memoryLst_, speedLst_};
}

bool Form1::focusNextPrevChild(bool next) {
    // Tab goes round the stops in their order, WB standing for whatever inside it has the focus.
    // Qt's own chain cannot be trusted with that: the web engine makes the widget that takes the
    // page's focus only once a page starts, and Qt adds it at the end of the chain.
    const auto stops = tabStops();
    QWidget* const focus = focusWidget();
    const auto current = std::find_if(stops.begin(), stops.end(), [focus](QWidget* stop) {
        return focus != nullptr && (stop == focus || stop->isAncestorOf(focus));
    });
    if (current == stops.end())
        return QWidget::focusNextPrevChild(next);
    const std::size_t at = static_cast<std::size_t>(current - stops.begin());
    for (std::size_t step = 1; step < stops.size(); ++step) {
        QWidget* const stop = stops[(at + (next ? step : stops.size() - step)) % stops.size()];
        if (stop->isVisible() && stop->isEnabled() && (stop->focusPolicy() & Qt::TabFocus)) {
            stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

void Form1::addValueRow(QGroupBox* frame, int top, const char* captionName, const char* caption,
                        int captionWidth, ValueLabel value, int valueWidth) {
    using namespace form1;
    makeHeading(frame, captionName, caption,
                QRect(px(captionLeft), px(top), px(captionWidth), px(labelHeight)));
    valueLabels_[value] = makeValueLabel(
        frame, value, QRect(px(valueLeft), px(top), px(valueWidth), px(labelHeight)));
    valueLabels_[value]->setAccessibleName(QString::fromUtf8(caption));
}

void Form1::createSystemFrames(QGroupBox* frame1) {
    auto* frame2 = makeFrame(frame1, "System", twipRect(120, 120, 6015, 2055));
    addValueRow(frame2, 240, "Label1", "Manufacturer", 1215, ValueLabel::Label21, 4215);
    addValueRow(frame2, 600, "Label2", "Model", 1095, ValueLabel::Label22, 4215);
    addValueRow(frame2, 960, "Label4", "Version", 1095, ValueLabel::Label24, 4215);
    addValueRow(frame2, 1320, "Label5", "Identifying No", 1455, ValueLabel::Label25, 4215);
    addValueRow(frame2, 1680, "Label9", "Type", 1095, ValueLabel::Label26, 4335);
    // The vendor row is written by the scan but never shown.
    makeHeading(frame2, "Label3", "Vendor", twipRect(3960, 120, 1095, 255))->setVisible(false);
    valueLabels_[ValueLabel::Label23] =
        makeValueLabel(frame2, ValueLabel::Label23, twipRect(5280, 120, 615, 255));
    valueLabels_[ValueLabel::Label23]->setVisible(false);

    auto* frame3 = makeFrame(frame1, "Processor", twipRect(120, 2160, 6015, 1695));
    addValueRow(frame3, 240, "Label6", "Name", 1095, ValueLabel::Label27, 4335);
    addValueRow(frame3, 600, "Label7", "Manufacturer", 1215, ValueLabel::Label28, 4215);
    addValueRow(frame3, 960, "Label40", "Speed", 1095, ValueLabel::Label41, 3375);
    addValueRow(frame3, 1320, "Label8", "FSB", 1095, ValueLabel::Label29, 4335);

    auto* frame4 = makeFrame(frame1, "Motherboard", twipRect(6240, 120, 5415, 975));
    addValueRow(frame4, 240, "Label10", "Manufacturer", 1215, ValueLabel::Label30, 3375);
    addValueRow(frame4, 600, "Label11", "Model", 1095, ValueLabel::Label31, 3375);

    auto* frame5 = makeFrame(frame1, "Bios", twipRect(6240, 1080, 5415, 975));
    addValueRow(frame5, 240, "Label12", "Manufacturer", 1215, ValueLabel::Label32, 3735);
    addValueRow(frame5, 600, "Label13", "Version", 1095, ValueLabel::Label33, 3735);

    auto* frame6 = makeFrame(frame1, "Memory", twipRect(6240, 2160, 5415, 1695));
    addValueRow(frame6, 240, "Label14", "Manufacturer", 1215, ValueLabel::Label34, 3375);
    addValueRow(frame6, 600, "Label15", "Installed RAM", 1335, ValueLabel::Label35, 3375);
    addValueRow(frame6, 960, "Label16", "Maximum RAM", 1335, ValueLabel::Label36, 3375);
    addValueRow(frame6, 1320, "Label17", "No Of Slots", 1335, ValueLabel::Label37, 3375);
}

void Form1::createModuleTable(QGroupBox* frame1) {
    auto* frame7 = makeFrame(frame1, "Installed Memory Details", twipRect(120, 3840, 7335, 2175));
    makeHeading(frame7, "Label18", "Slots", twipRect(1800, 240, 495, 255));
    makeHeading(frame7, "Label19", "Memory Size", twipRect(4200, 240, 1095, 255));
    makeHeading(frame7, "Label20", "Memory Speed", twipRect(5640, 240, 1335, 255));
    slotsLst_ = makeList(frame7, "slotsLst", twipRect(120, 480, 3855, 1620));
    memoryLst_ = makeList(frame7, "memoryLst", twipRect(3960, 480, 1575, 1620));
    speedLst_ = makeList(frame7, "speedLst", twipRect(5520, 480, 1575, 1620));
}

void Form1::createCommandArea(QGroupBox* frame1) {
    auto* frame8 = makeFrame(frame1, "", twipRect(7560, 3840, 4095, 2175));
    const QCursor pointer = form1::chatCursor(devicePixelRatioF());

    image1_ = new quorvin::qt::ClickableLabel(frame8);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(twipRect(1200, 360, 2280, 1020));
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop); // natural size, never stretched
    image1_->setPixmap(form1::chatPicture(devicePixelRatioF()));
    image1_->setCursor(pointer);

    label39_ = new quorvin::qt::ClickableLabel(frame8);
    label39_->setObjectName(QStringLiteral("Label39"));
    label39_->setText(QStringLiteral("Click Here to Chat with Our Customer Representative"));
    label39_->setFont(form1::defaultFont());
    form1::makeTextBlue(label39_);
    label39_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label39_->setGeometry(twipRect(120, 1440, 3855, 375));
    form1::condenseToFit(label39_, label39_->text(), label39_->width());
    label39_->setCursor(pointer);

    clipboardCmd_ = new QPushButton(QStringLiteral("Copy System Info To Clipboard"), frame8);
    clipboardCmd_->setObjectName(QStringLiteral("clipboardCmd"));
    clipboardCmd_->setFont(form1::defaultFont());
    clipboardCmd_->setGeometry(twipRect(960, 1680, 2415, 375));
    clipboardCmd_->setAutoDefault(false);
    form1::pressOnEnter(clipboardCmd_);

    connect(image1_, &quorvin::qt::ClickableLabel::clicked, this, &Form1::startChat);
    connect(label39_, &quorvin::qt::ClickableLabel::clicked, this, &Form1::startChat);
    connect(clipboardCmd_, &QPushButton::clicked, this, &Form1::copyReport);
}

void Form1::createStorePage(QGroupBox* frame1) {
    auto* frame9 = makeFrame(frame1, "Compatible Memory Upgrade", twipRect(120, 6000, 11535, 4575));
    wb_ = quorvin::qt::makeBrowserControl(frame9);
    wb_->setObjectName(QStringLiteral("WB"));
    wb_->setFont(form1::defaultFont());
    wb_->setGeometry(twipRect(0, 240, 11535, 4335));
}

void Form1::copyReport() {
    try {
        quorvin::qt::replaceClipboardText(reportText());
    } catch (const quorvin::qt::ClipboardError& error) {
        quorvin::qt::showPlainMessage(this, error.what());
    }
}

void Form1::startChat() {
    // A browser that cannot start, or a launcher that finds none, are the same to the user.
    const auto browserNotFound = [this] {
        quorvin::qt::showPlainMessage(this, "Browser Not found!!!");
    };
    try {
        quorvin::qt::startProgram(chatBrowserProgram, quorvin::chatAddress(environment().storeHost),
                                  this, browserNotFound);
    } catch (const std::exception&) {
        browserNotFound();
    }
}

QListWidget* Form1::moduleList(ModuleList list) const {
    switch (list) {
    case ModuleList::Slots:
        return slotsLst_;
    case ModuleList::Memory:
        return memoryLst_;
    case ModuleList::Speed:
        return speedLst_;
    }
    return nullptr;
}

QLabel* Form1::valueLabel(ValueLabel label) const {
    const auto it = valueLabels_.find(label);
    return it == valueLabels_.end() ? nullptr : it->second;
}

QListWidget* Form1::requireList(ModuleList list) const {
    QListWidget* widget = moduleList(list);
    if (widget == nullptr)
        throw std::logic_error("The results window's module lists are used before it is loaded");
    return widget;
}

void Form1::clearListControl(ModuleList list) {
    requireList(list)->clear();
}

void Form1::addListControlRow(ModuleList list, const std::string& row) {
    requireList(list)->addItem(quorvin::qt::toQString(row));
}

void Form1::setLabelCaption(ValueLabel label, const std::string& text) {
    QLabel* widget = valueLabel(label);
    if (widget == nullptr)
        throw std::logic_error("The results window has no value label " +
                               quorvin::labelName(label));
    const QString caption = quorvin::qt::toQString(text);
    widget->setText(caption);
    // A value cut off at the label's edge is shown whole in its tooltip, and screen readers read
    // it as the description of the label its caption names.
    const bool fits = widget->fontMetrics().horizontalAdvance(caption) <= widget->width();
    widget->setToolTip(fits ? QString() : quorvin::qt::plainToolTip(caption));
    widget->setAccessibleDescription(caption);
}

std::string Form1::labelCaption(ValueLabel label) const {
    const QLabel* widget = valueLabel(label);
    if (widget == nullptr)
        throw std::logic_error("The results window has no value label " +
                               quorvin::labelName(label));
    return quorvin::qt::toUtf8(widget->text());
}

void Form1::navigateBrowser(const std::string& url) {
    if (wb_ == nullptr)
        throw std::logic_error("The results window's browser is used before it is loaded");
    wb_->navigate(url);
}
