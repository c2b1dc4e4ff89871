#include "ModuleListCoupling.h"

namespace quorvin::win32 {

std::array<ModuleList, 2> couplingTargets(ModuleList changed) {
    switch (changed) {
    case ModuleList::Memory:
        return {ModuleList::Slots, ModuleList::Speed};
    case ModuleList::Slots:
        return {ModuleList::Memory, ModuleList::Speed};
    case ModuleList::Speed:
        return {ModuleList::Memory, ModuleList::Slots};
    }
    return {ModuleList::Memory, ModuleList::Speed};
}

void spreadSelection(ListSelection& lists, ModuleList changed) {
    for (ModuleList target : couplingTargets(changed)) {
        const int index = lists.selectedIndex(changed);
        if (lists.selectedIndex(target) == index)
            continue;
        lists.setSelectedIndex(target, index);
        spreadSelection(lists, target);
    }
}

} // namespace quorvin::win32
