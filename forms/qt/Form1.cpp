#include "Form1.h"

#include "LayoutWidgets.h"
#include "platform/qt/Browser.h"
#include "platform/qt/System.h"
#include "platform/qt/Widgets.h"
#include "results/StoreAddress.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

namespace quorvin::qtforms {

using quorvin::ModuleList;
using quorvin::ValueLabel;
using quorvin::valueLabelNamed;
using quorvin::layout::Control;
using quorvin::layout::form1Layout;
using quorvin::layout::Role;

namespace {

QLabel* makeValueLabel(const Control& control, QWidget* parent) {
    auto* label = new QLabel(qtText(control.caption), parent);
    label->setTextFormat(Qt::PlainText); // scanned texts are never markup
    // Named by what it shows, an empty value by nothing rather than by its caption.
    quorvin::qt::setAccessibleRole(label, QAccessible::StaticText);
    return label;
}

// One of the three module lists: a single-selection list that answers the keyboard and the mouse
// as a Windows list box does. Down or Up on a list without a selection selects its first row, a
// click below the last row leaves the selection as it is, and the focus entering the list lands
// on its selected row. Only the list with the focus draws its selection in the active colour; the
// other two draw theirs in the inactive one, so that the user sees which list the keys move.
class ModuleListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ModuleListBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;

private:
    // Tells screen readers the current row has the focus.
    void announceCurrentRow();
};

ModuleListBox::ModuleListBox(QWidget* parent)
    : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    useInactiveSelectionColours(this);
}

void ModuleListBox::initViewItemOption(QStyleOptionViewItem* option) const {
    QListWidget::initViewItemOption(option);
    // The style draws a row in the active colours while its window is active; here only while
    // the list has the focus too, as a Windows list box does.
    if (!hasFocus())
        option->state &= ~QStyle::State_Active;
}

void ModuleListBox::keyPressEvent(QKeyEvent* event) {
    // Qt moves on from the row its focus rests on, unselected, so the first Down would select
    // the second row; a list box without a selection starts at the first.
    const bool step = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (step && event->modifiers() == Qt::NoModifier && count() > 0 && selectedIndex(this) < 0) {
        setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        // The row was current already (the focus put it there), so Qt announces nothing.
        announceCurrentRow();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void ModuleListBox::mousePressEvent(QMouseEvent* event) {
    // A list box ignores a press on no row; Qt's list would clear the selection.
    if (itemAt(event->position().toPoint()) == nullptr) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

void ModuleListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (itemAt(event->position().toPoint()) == nullptr) {
        event->accept();
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

void ModuleListBox::focusInEvent(QFocusEvent* event) {
    // A screen reader takes a list's current row for the focused one, so only the list with the
    // focus has one: the coupling selects rows in the other lists without making them current,
    // and the focus arriving makes the selected row current, which a screen reader announces.
    const int selected = selectedIndex(this);
    if (selected >= 0 && currentRow() != selected)
        setCurrentRow(selected, QItemSelectionModel::NoUpdate);
    QListWidget::focusInEvent(event);
    viewport()->update(); // its selection turns to the active colour
    // Qt announces the list once this has returned, after the row it made current; the row is
    // announced again after the list, so that it is what the screen reader says last.
    QTimer::singleShot(0, this, &ModuleListBox::announceCurrentRow);
}

void ModuleListBox::announceCurrentRow() {
    if (!hasFocus() || currentRow() < 0)
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(currentRow());
    QAccessible::updateAccessibility(&focus);
}

void ModuleListBox::focusOutEvent(QFocusEvent* event) {
    // Leaving, the list keeps its selection but no current row.
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

// Changes the list only when its selected row differs, so a selection spreads through the
// lists' handlers and stops once all three agree. The row is selected, not made current: a
// current row is the one a screen reader reports focused, and only the list with the focus has
// one that counts.
void selectIndex(QListWidget* list, int index) {
    if (selectedIndex(list) == index)
        return;
    if (index < 0) {
        list->clearSelection();
        return;
    }
    const QModelIndex row = list->model()->index(index, 0);
    list->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(row);
}

// The three module lists act as one table: a selection made in one (click, keys, code; "none"
// included) is copied into the other two, and when one scrolls the others scroll with it, so that
// row n stands beside row n.
void coupleModuleLists(QListWidget* slotList, QListWidget* memoryList, QListWidget* speedList) {
    // Each list's selection handler spreads its row by the one rule; when one scrolls the
    // others scroll with it.
    // The rule runs the target lists' handlers itself, as Windows' list boxes need; the change
    // Qt reports of a list the rule is setting is left to it.
    const auto spreading = std::make_shared<bool>(false);
    const auto follow = [=](QListWidget* own, ModuleList which, QListWidget* first,
                            QListWidget* second) {
        QObject::connect(own, &QListWidget::itemSelectionChanged, own, [=] {
            if (*spreading)
                return;
            *spreading = true;
            QListWidget* const lists[] = {slotList, memoryList, speedList};
            quorvin::layout::spreadSelection(
                {[&](ModuleList list) { return selectedIndex(lists[static_cast<int>(list)]); },
                 [&](ModuleList list, int index) {
                     selectIndex(lists[static_cast<int>(list)], index);
                 }},
                which);
            *spreading = false;
        });
        // The lists have the same rows in the same font, so equal scroll positions line them up.
        QObject::connect(own->verticalScrollBar(), &QScrollBar::valueChanged, own,
                         [first, second](int value) {
                             first->verticalScrollBar()->setValue(value);
                             second->verticalScrollBar()->setValue(value);
                         });
    };
    follow(memoryList, ModuleList::Memory, slotList, speedList);
    follow(slotList, ModuleList::Slots, memoryList, speedList);
    follow(speedList, ModuleList::Speed, memoryList, slotList);
}

} // namespace

int selectedIndex(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

Form1::Form1(quorvin::ScanEnvironment environment, std::string chatBrowser, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , chatBrowser_(std::move(chatBrowser))
    , results_(std::move(environment), *this) {
    setObjectName(qtText(form1Layout().name));
    quorvin::qt::setAccessibleRole(this, QAccessible::Window);
    setWindowTitle(qtText(form1Layout().caption));
    setWindowIcon(programIcon());
    setFont(qtFont(quorvin::layout::defaultFont));
    // The client area opens where it was laid out, at a fixed size.
    const QRect client = pixelRect(form1Layout().client);
    setGeometry(client);
    setFixedSize(client.size());
}

Form1::~Form1() = default;

void Form1::setVisible(bool visible) {
    if (visible)
        results_.ensureLoaded();
    QWidget::setVisible(visible);
    if (visible && slotsLst_ != nullptr)
        slotsLst_->setFocus(Qt::OtherFocusReason);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    emit unloaded();
}

void Form1::loadControls() {
    controls_ = std::make_unique<LayoutWidgets>(
        this, form1Layout(),
        [this](const Control& control, QWidget* parent) { return makeControl(control, parent); });
    slotsLst_ = controls_->as<QListWidget>(quorvin::listName(ModuleList::Slots));
    memoryLst_ = controls_->as<QListWidget>(quorvin::listName(ModuleList::Memory));
    speedLst_ = controls_->as<QListWidget>(quorvin::listName(ModuleList::Speed));
    image1_ = controls_->as<quorvin::qt::ClickableLabel>(Role::ChatPicture);
    label39_ = controls_->as<quorvin::qt::ClickableLabel>(Role::ChatLink);
    clipboardCmd_ = controls_->as<QPushButton>(Role::CopyButton);
    wb_ = controls_->as<quorvin::qt::BrowserControl>(Role::Browser);
    for (const Control& control : form1Layout().controls)
        finishControl(control);

    applyTabOrder();
    connect(wb_, &quorvin::qt::BrowserControl::focusWidgetsChanged, this, &Form1::applyTabOrder);
    connect(
        wb_, &quorvin::qt::BrowserControl::addressNotOpened, this, [this](const QString& address) {
            // Never silent: the user clicked and expects a browser.
            quorvin::qt::showPlainMessage(this, quorvin::layout::programTitle,
                                          "No web browser or mail program could be started to open "
                                          "this address:\n\n" +
                                              quorvin::qt::toUtf8(address));
        });
    connect(wb_, &quorvin::qt::BrowserControl::leaveRequested, this,
            [this](const QUrl& address, bool userAsked) {
                if (quorvin::pageRequest(quorvin::qt::toUtf8(address.toString(QUrl::FullyEncoded)),
                                         userAsked) == quorvin::PageRequest::SystemHandler)
                    wb_->openInUsersProgram(address);
            });
    coupleModuleLists(slotsLst_, memoryLst_, speedLst_);
    connect(image1_, &quorvin::qt::ClickableLabel::clicked, this, &Form1::startChat);
    connect(label39_, &quorvin::qt::ClickableLabel::clicked, this, &Form1::startChat);
    connect(clipboardCmd_, &QPushButton::clicked, this, [this] { results_.copyReport(); });
    slotsLst_->setFocus(Qt::OtherFocusReason);
    // Drawn with OpenGL once the store page's engine is in it, the window would appear black
    // until its first frame; it appears in its background colour instead.
    quorvin::qt::fillBackgroundOnAppearing(this);
}

QWidget* Form1::makeControl(const Control& control, QWidget* parent) {
    switch (control.role) {
    case Role::Frame:
        return new QGroupBox(qtText(control.caption), parent);
    case Role::Value: {
        const auto value = valueLabelNamed(control.name);
        if (!value)
            break;
        QLabel* label = makeValueLabel(control, parent);
        valueLabels_[*value] = label;
        return label;
    }
    case Role::ChatLink: {
        // The chat link: a link to screen readers, with the chat picture's action.
        auto* link = new quorvin::qt::ClickableLabel(QAccessible::Link, parent);
        link->setText(qtText(control.caption));
        link->setAlignment(Qt::AlignLeft | Qt::AlignTop); // centred where it stands centred
        link->setCursor(chatCursor(devicePixelRatioF()));
        return link;
    }
    case Role::Caption:
        return new QLabel(qtText(control.caption), parent);
    case Role::ChatPicture: {
        auto* picture = new quorvin::qt::ClickableLabel(QAccessible::Graphic, parent);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop); // natural size, never stretched
        picture->setPixmap(chatPicture(devicePixelRatioF()));
        picture->setCursor(chatCursor(devicePixelRatioF()));
        // It does what the link does, and a screen reader names it so.
        picture->setAccessibleName(qtText(form1Layout().only(Role::ChatLink).caption));
        return picture;
    }
    case Role::CopyButton: {
        auto* button = new QPushButton(qtText(control.caption), parent);
        button->setAutoDefault(false);
        pressOnEnter(button);
        return button;
    }
    case Role::ModuleList:
        return new ModuleListBox(parent);
    case Role::Browser: {
        quorvin::qt::BrowserControl* browser = quorvin::qt::makeBrowserControl(parent);
        // Its focus stop is named by its frame's caption.
        browser->setAccessibleName(qtText(form1Layout().at(control.parent).caption));
        return browser;
    }
    case Role::Disclaimer:
    case Role::AcceptButton:
    case Role::CancelButton:
        break;
    }
    throw std::logic_error("The results window has no control of the role of " +
                           std::string(control.name));
}

void Form1::finishControl(const Control& control) {
    QWidget* widget = controls_->at(control.name);
    if (control.captionLabel.empty())
        return;
    // The caption label labels its value (a screen reader says "Maximum RAM 32 GB"), the heading
    // its list, which takes the heading's text as its name.
    auto* caption = controls_->as<QLabel>(control.captionLabel);
    caption->setBuddy(widget);
    if (control.role == Role::ModuleList)
        widget->setAccessibleName(caption->text());
}

void Form1::applyTabOrder() {
    controls_->applyTabOrder();
}

std::vector<QWidget*> Form1::tabStops() const {
    return controls_->tabStops();
}

bool Form1::focusNextPrevChild(bool next) {
    // Tab goes round the stops in their order, WB standing for whatever inside it has the focus.
    // Qt's own chain cannot be trusted with that: the web engine makes the widget that takes the
    // page's focus only once a page starts, and Qt adds it at the end of the chain.
    if (!controls_)
        return QWidget::focusNextPrevChild(next);
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

bool Form1::putOnClipboard(const std::string& text) {
    return quorvin::qt::replaceClipboardText(text);
}

void Form1::startChat() {
    // A browser that cannot start, or a launcher that finds none, are the same to the user.
    const auto browserNotFound = [this] {
        quorvin::qt::showPlainMessage(this, quorvin::layout::programTitle, "Browser Not found!!!");
    };
    try {
        quorvin::qt::startProgram(chatBrowser_,
                                  quorvin::chatAddress(results_.environment().storeScheme,
                                                       results_.environment().storeHost),
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
    // A screen reader speaks the value as the label's name, whole and as shown: Qt's own name
    // for a label would drop the ampersands from "Brindle & Sons". Its description would be the
    // tooltip's markup; it is the value again, which screen readers do not repeat.
    widget->setAccessibleName(caption);
    widget->setAccessibleDescription(fits ? QString() : caption);
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

} // namespace quorvin::qtforms

#include "Form1.moc"
