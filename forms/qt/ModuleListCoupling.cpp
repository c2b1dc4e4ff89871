#include "ModuleListCoupling.h"

#include <QListWidget>
#include <QScrollBar>

namespace form1 {

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
    // Each list copies its own selected row into the other two, reading it afresh before each
    // copy.
    const auto follow = [](QListWidget* own, QListWidget* first, QListWidget* second) {
        QObject::connect(own, &QListWidget::itemSelectionChanged, own, [own, first, second] {
            selectIndex(first, selectedIndex(own));
            selectIndex(second, selectedIndex(own));
        });
        // The lists have the same rows in the same font, so equal scroll positions line them up.
        QObject::connect(own->verticalScrollBar(), &QScrollBar::valueChanged, own,
                         [first, second](int value) {
                             first->verticalScrollBar()->setValue(value);
                             second->verticalScrollBar()->setValue(value);
                         });
    };
    follow(memoryList, slotList, speedList);
    follow(slotList, memoryList, speedList);
    follow(speedList, memoryList, slotList);
}

} // namespace form1
