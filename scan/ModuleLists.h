#pragma once

#include <string>

namespace quorvin {

enum class ModuleList { Slots, Memory, Speed }; // slotsLst, memoryLst, speedLst

// The results window's three module lists as the module collection fills them.
class ModuleLists {
public:
    virtual ~ModuleLists() = default;
    virtual void clearList(ModuleList list) = 0;
    virtual void addListRow(ModuleList list, const std::string& row) = 0;
};

} // namespace quorvin
