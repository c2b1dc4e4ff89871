#pragma once

#include <string>

namespace quorvin {

enum class ModuleList { Slots, Memory, Speed };

// The list's control name: "slotsLst", "memoryLst" or "speedLst".
constexpr const char* listName(ModuleList list) {
    switch (list) {
    case ModuleList::Slots:
        return "slotsLst";
    case ModuleList::Memory:
        return "memoryLst";
    case ModuleList::Speed:
        return "speedLst";
    }
    return "?";
}

// The results window's three module lists as the module collection fills them.
class ModuleLists {
public:
    virtual ~ModuleLists() = default;
    virtual void clearList(ModuleList list) = 0;
    virtual void addListRow(ModuleList list, const std::string& row) = 0;
};

} // namespace quorvin
