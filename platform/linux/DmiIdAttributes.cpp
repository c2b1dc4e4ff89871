#include "DmiIdAttributes.h"

#include "FirmwareText.h"
#include "platform/files/TextFile.h"

#include <algorithm>
#include <map>

namespace quorvin::linux_hw {

std::optional<ScanValue> readDmiIdAttribute(const std::filesystem::path& dmiIdDir,
                                            std::string_view attribute) {
    auto text = files::readTextFileIfPresent(dmiIdDir / attribute);
    if (!text)
        return std::nullopt;
    if (!text->empty() && text->back() == '\n')
        text->pop_back();
    // The kernel passes the table's string bytes on as they are.
    return text->empty() ? ScanValue::null() : ScanValue::text(firmwareText(*text));
}

const snapshot::Instance* DmiIdInstances::find(std::string_view wmiClass) const {
    for (const auto& [className, instance] : byClass)
        if (className == wmiClass)
            return &instance;
    return nullptr;
}

DmiIdInstances readDmiIdInstances(const std::filesystem::path& dmiIdDir) {
    struct Reading {
        std::string_view wmiClass;
        snapshot::Instance instance;
        bool anyFileRead = false;
    };
    std::vector<Reading> readings;
    // sys_vendor feeds two classes; each file is read once.
    std::map<std::string_view, std::optional<ScanValue>> files;
    for (const DmiIdField& field : dmiIdFields) {
        auto reading = std::find_if(readings.begin(), readings.end(),
                                    [&](const Reading& r) { return r.wmiClass == field.wmiClass; });
        if (reading == readings.end())
            reading = readings.insert(readings.end(), Reading{field.wmiClass, {}});
        auto file = files.find(field.attribute);
        if (file == files.end())
            file =
                files.emplace(field.attribute, readDmiIdAttribute(dmiIdDir, field.attribute)).first;
        const std::optional<ScanValue>& value = file->second;
        reading->anyFileRead = reading->anyFileRead || value.has_value();
        reading->instance.push_back(
            {std::string(field.property), value.value_or(ScanValue::null())});
    }
    DmiIdInstances result;
    for (Reading& reading : readings)
        if (reading.anyFileRead)
            result.byClass.emplace_back(reading.wmiClass, std::move(reading.instance));
    return result;
}

} // namespace quorvin::linux_hw
