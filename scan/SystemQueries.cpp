#include "SystemQueries.h"

#include <array>
#include <limits>
#include <utility>
#include <vector>

namespace quorvin {

namespace {

// Runs the query on the session and visits every instance in the order delivered, leaving each
// in session.scanItem while it is visited (and the last one there afterwards).
template <typename Visit>
void forEachInstance(WmiSession& session, std::string_view wql, Visit&& visit) {
    session.scanItems = session.scanService->execQuery(wql);
    while (auto item = session.scanItems->next()) {
        session.scanItem = std::move(item);
        visit(static_cast<const wmi::WmiObject&>(*session.scanItem));
    }
}

// "Win32_PhysicalMemory.capacity": how a size that is no number is named in the error.
std::string qualifiedName(const wmi::ClassInfo& info, const wmi::PropertyInfo& property) {
    return std::string(info.name) + "." + std::string(property.name);
}

// How many of the size's own units make one of 1024^power bytes (a megabyte for 2, a gigabyte
// for 3), scanUnit being the 1024.
double unitsPer(wmi::SizeUnit size, int power, double unit) {
    double units = 1.0;
    for (int i = size == wmi::SizeUnit::Kilobytes ? 1 : 0; i < power; ++i)
        units *= unit;
    return units;
}

// The old text, then the value, its unit and a comma; appended in place, as the texts grow with
// every module.
void append(ScanValue& runningText, const std::string& value, std::string_view unit) {
    if (!runningText.isText())
        runningText = ScanValue::text(joinText(runningText, NumberFormat{}));
    runningText.appendText(value);
    runningText.appendText(unit);
    runningText.appendText(",");
}

const wmi::ClassInfo& physicalMemory() {
    for (const wmi::ClassInfo& info : wmi::scanClasses())
        if (info.perModule)
            return info;
    throw std::logic_error("The scan reads no memory modules");
}

void setWorkingValues(ScanRecord& record) {
    record.scanComputer = ScanValue::text(std::string(localComputer));
    record.scanUnit = 1024.0;
}

void openSession(const ScanRecord& record, WmiSession& session, wmi::WmiProvider& provider) {
    session.scanService = provider.bind(sessionPath(joinText(record.scanComputer, NumberFormat{})));
}

// A system query: each instance's properties, in their order, replace what their fields held.
void queryClass(const wmi::ClassInfo& info, ScanRecord& r, WmiSession& session) {
    forEachInstance(session, wmi::selectAllFrom(info.name), [&](const wmi::WmiObject& item) {
        for (const wmi::PropertyInfo& property : info.properties) {
            ScanValue value = item.get(property.name);
            if (property.gigabytes)
                r.*property.gigabytes = gigabytesOf(value, unitsPer(property.size, 3, r.scanUnit),
                                                    qualifiedName(info, property));
            else
                r.*property.value = std::move(value);
        }
    });
}

} // namespace

std::string sessionPath(std::string_view computer) {
    return "winmgmts:" + std::string("{impersonationLevel=impersonate}!\\\\") +
           std::string(computer) + "\\root\\cimv2";
}

std::optional<double> sizeOf(const ScanValue& value, std::string_view what) {
    switch (value.kind()) {
    case ScanValue::Kind::Empty:
    case ScanValue::Kind::Null:
        return std::nullopt;
    case ScanValue::Kind::Integer:
        return static_cast<double>(value.asInteger());
    case ScanValue::Kind::Double:
        return value.asDouble();
    case ScanValue::Kind::Text:
        if (const auto number = parseDecimal(value.asText()))
            return number;
        throw ScanError(std::string(what) + " is not a number: \"" + value.asText() + "\"");
    }
    return std::nullopt;
}

double gigabytesOf(const ScanValue& value, double divisor, std::string_view what) {
    const auto size = sizeOf(value, what);
    return size ? roundToHundredths(*size / divisor) : 0.0;
}

void collectModules(ScanRecord& r, WmiSession& session, ModuleLists& lists,
                    const NumberFormat& format) {
    constexpr std::array allLists{ModuleList::Slots, ModuleList::Memory, ModuleList::Speed};
    for (const ModuleList list : allLists)
        lists.clearList(list);

    const wmi::ClassInfo& info = physicalMemory();
    std::vector<std::string> texts(info.properties.size());
    std::vector<std::string> names;
    for (const wmi::PropertyInfo& property : info.properties)
        names.push_back(qualifiedName(info, property));
    forEachInstance(session, wmi::selectAllFrom(info.name), [&](const wmi::WmiObject& item) {
        for (std::size_t i = 0; i < info.properties.size(); ++i) {
            const wmi::PropertyInfo& property = info.properties[i];
            const ScanValue value = item.get(property.name);
            if (property.size == wmi::SizeUnit::None) {
                texts[i] = joinText(value, format);
            } else {
                // A size in megabytes, unrounded ("8192", "1023.5"); empty without a value.
                const auto size = sizeOf(value, names[i]);
                texts[i] = size ? numberText(*size / unitsPer(property.size, 2, r.scanUnit), format)
                                : std::string();
            }
            append(r.*property.value, texts[i], property.unit);
        }
        for (const ModuleList list : allLists)
            for (std::size_t i = 0; i < info.properties.size(); ++i)
                if (info.properties[i].list == list)
                    lists.addListRow(list, texts[i] + std::string(info.properties[i].unit));

        if (r.scanModuleCount == std::numeric_limits<std::int16_t>::max())
            throw ScanError("Overflow: the memory module counter cannot count past 32767 modules");
        ++r.scanModuleCount;
    });
}

void runScanQueries(ScanRecord& record, WmiSession& session, wmi::WmiProvider& provider,
                    ModuleLists& lists, const NumberFormat& format) {
    setWorkingValues(record);
    openSession(record, session, provider);
    for (const wmi::ClassInfo& info : wmi::scanClasses()) {
        if (info.perModule)
            collectModules(record, session, lists, format);
        else
            queryClass(info, record, session);
    }
}

} // namespace quorvin
