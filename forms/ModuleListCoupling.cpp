#include "ModuleListCoupling.h"

#include <stdexcept>
#include <string>

namespace quorvin::layout {

void checkModuleLists(const WindowLayout& window) {
    const std::array<ModuleList, 3> all{ModuleList::Slots, ModuleList::Memory, ModuleList::Speed};
    for (const ModuleList list : all) {
        const Control* control = window.find(listName(list));
        if (control == nullptr || control->role != Role::ModuleList)
            throw std::logic_error(std::string(window.name) + "'s layout has no module list " +
                                   listName(list));
    }
    if (window.withRole(Role::ModuleList).size() != all.size())
        throw std::logic_error(std::string(window.name) +
                               "'s layout has a module list the scan never fills");
}

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

void spreadSelection(const ListSelection& lists, ModuleList changed) {
    for (ModuleList target : couplingTargets(changed)) {
        const int index = lists.selectedIndex(changed);
        if (lists.selectedIndex(target) == index)
            continue;
        lists.setSelectedIndex(target, index);
        spreadSelection(lists, target);
    }
}

} // namespace quorvin::layout
