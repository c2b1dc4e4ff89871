#pragma once

class QListWidget;

namespace quorvin::qtforms {

// The three module lists act as one table: a selection made in one (click, keys, code; "none"
// included) is copied into the other two, and when one scrolls the others scroll with it, so that
// row n stands beside row n.
void coupleModuleLists(QListWidget* slotList, QListWidget* memoryList, QListWidget* speedList);

// The list's selected row, -1 when none is selected.
int selectedIndex(const QListWidget* list);

} // namespace quorvin::qtforms
