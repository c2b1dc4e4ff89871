#pragma once

#include "WindowLayout.h"
#include "scan/ScanRecord.h"

#include <array>
#include <functional>

namespace quorvin::layout {

// The three module lists act as one table: a selection made in one is copied into the other two.
// The rule, once for both toolkits.

// The selected rows of the three module lists, as the coupling reads and sets them; a toolkit
// hands its lists over as these two.
struct ListSelection {
    std::function<int(ModuleList list)> selectedIndex; // -1: none
    std::function<void(ModuleList list, int index)> setSelectedIndex;
};

// Throws std::logic_error unless the window's module lists are exactly the three the scan fills.
void checkModuleLists(const WindowLayout& window);

// The two lists a selection change in the given one is copied into, in their order.
std::array<ModuleList, 2> couplingTargets(ModuleList changed);

// A list's selection handler: copies its selected index into the other two, reading it afresh
// before each copy; a copy that changes a list runs that list's handler in turn, as a change
// made by code does, so that the three end up agreeing.
void spreadSelection(const ListSelection& lists, ModuleList changed);

} // namespace quorvin::layout
