#include "ClassDump.h"

#include "platform/wmi/ScanClasses.h"

namespace quorvin::dump {

std::vector<ClassAnswer> collectScanClasses(wmi::WmiProvider& provider) {
    const auto service =
        provider.bind("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\cimv2");
    std::vector<ClassAnswer> answers;
    for (const wmi::ClassInfo& info : wmi::scanClasses()) {
        ClassAnswer answer{std::string(info.name), {}};
        const auto items = service->execQuery("Select * from " + std::string(info.name));
        while (const auto item = items->next()) {
            std::vector<PropertyValue> instance;
            for (const wmi::PropertyInfo& property : info.properties)
                instance.push_back({std::string(property.name), item->get(property.name)});
            answer.instances.push_back(std::move(instance));
        }
        answers.push_back(std::move(answer));
    }
    return answers;
}

} // namespace quorvin::dump
