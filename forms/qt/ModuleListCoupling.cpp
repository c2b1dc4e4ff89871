#include "ModuleListCoupling.h"

#include "forms/ModuleListCoupling.h"

#include <QListWidget>
#include <QScrollBar>

#include <memory>

namespace quorvin::qtforms {

int selectedIndex(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

namespace {

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

} // namespace

void coupleModuleLists(QListWidget* slotList, QListWidget* memoryList, QListWidget* speedList) {
    using quorvin::ModuleList;
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

} // namespace quorvin::qtforms
