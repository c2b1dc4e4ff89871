#include "ModuleCollection.h"

#include "InstanceLoop.h"
#include "ScanError.h"
#include "SystemQueries.h"

#include <limits>

namespace quorvin {

namespace {

// The old text, then the value and its separator; appended in place, as the texts grow with
// every module.
void append(ScanValue& runningText, const std::string& value, const char* separator) {
    if (!runningText.isText())
        runningText = ScanValue::text(joinText(runningText, NumberFormat{}));
    runningText.appendText(value);
    runningText.appendText(separator);
}

} // namespace

std::string capacityMegabytesText(const ScanValue& capacity, double unit,
                                  const NumberFormat& format) {
    const auto bytes = sizeOf(capacity, "Win32_PhysicalMemory.capacity");
    return bytes ? numberText(*bytes / (unit * unit), format) : std::string();
}

void collectModules(ScanRecord& r, WmiSession& session, ModuleLists& lists,
                    const NumberFormat& format) {
    lists.clearList(ModuleList::Slots);
    lists.clearList(ModuleList::Memory);
    lists.clearList(ModuleList::Speed);

    forEachInstance(session, "Select * from Win32_PhysicalMemory", [&](const wmi::WmiObject& item) {
        const std::string megabytes =
            capacityMegabytesText(item.get("capacity"), r.scanUnit, format);
        append(r.scanModCapacities, megabytes, " MB,");
        append(r.scanModTypes, joinText(item.get("memorytype"), format), ",");
        const std::string speed = joinText(item.get("speed"), format);
        append(r.scanModSpeeds, speed, " MHz,");
        // A socket without a name still gets its (empty) row, so the lists stay aligned.
        const std::string locator = joinText(item.get("devicelocator"), format);
        append(r.scanModLocators, locator, ",");

        lists.addListRow(ModuleList::Slots, locator);
        lists.addListRow(ModuleList::Memory, megabytes + " MB");
        lists.addListRow(ModuleList::Speed, speed + " MHz");

        if (r.scanModuleCount == std::numeric_limits<std::int16_t>::max())
            throw ScanError("Overflow: the memory module counter cannot count past 32767 modules");
        ++r.scanModuleCount;
    });
}

} // namespace quorvin
