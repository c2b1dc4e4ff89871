#include "ClassDump.h"

#include "scan/ScanRecord.h"
#include "scan/SystemQueries.h"
#include "scan/wmi/Wmi.h"

namespace quorvin::dump {

snapshot::Snapshot collectScanClasses(wmi::WmiProvider& provider) {
    const auto service = provider.bind(sessionPath(localComputer));
    snapshot::Snapshot answers;
    for (const wmi::ClassInfo& info : wmi::scanClasses()) {
        answers.declareClass(info.name);
        const auto items = service->execQuery(wmi::selectAllFrom(info.name));
        while (const auto item = items->next()) {
            snapshot::Instance instance;
            for (const wmi::PropertyInfo& property : info.properties)
                instance.push_back({std::string(property.name), item->get(property.name)});
            answers.addInstance(info.name, std::move(instance));
        }
    }
    return answers;
}

} // namespace quorvin::dump
