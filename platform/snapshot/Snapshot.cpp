#include "Snapshot.h"

#include "scan/ScanRecord.h"
#include "scan/values/ScanValue.h"
#include "scan/wmi/Wmi.h"

#include <algorithm>

namespace quorvin::snapshot {

void Snapshot::declareClass(std::string_view className) {
    classEntry(className);
}

void Snapshot::declareScanClasses() {
    for (const wmi::ClassInfo& info : wmi::scanClasses())
        declareClass(info.name);
}

void Snapshot::addInstance(std::string_view className, Instance instance) {
    classEntry(className).instances.push_back(std::move(instance));
}

void Snapshot::noteLackingProperty(std::string_view className, std::string_view property) {
    std::vector<std::string>& lacking = classEntry(className).lackingProperties;
    if (std::none_of(lacking.begin(), lacking.end(),
                     [&](const std::string& p) { return equalsIgnoreCase(p, property); }))
        lacking.emplace_back(property);
}

const ClassInstances* Snapshot::find(std::string_view className) const {
    const auto it = byName_.find(lowerAscii(className));
    return it == byName_.end() ? nullptr : &classes_[it->second];
}

ClassInstances& Snapshot::classEntry(std::string_view className) {
    const auto [it, added] = byName_.try_emplace(lowerAscii(className), classes_.size());
    if (added)
        classes_.push_back(ClassInstances{std::string(className), {}, {}});
    return classes_[it->second];
}

void SourceNotes::note(std::string_view className, std::string_view source) {
    auto entry = std::find_if(notes_.begin(), notes_.end(),
                              [&](const auto& n) { return n.first == className; });
    if (entry == notes_.end())
        entry = notes_.insert(notes_.end(), {std::string(className), {}});
    if (std::find(entry->second.begin(), entry->second.end(), source) == entry->second.end())
        entry->second.emplace_back(source);
}

std::vector<std::string> SourceNotes::sourcesOf(std::string_view className) const {
    for (const auto& [name, sources] : notes_)
        if (name == className)
            return sources;
    return {};
}

namespace {

class SnapshotObject : public wmi::WmiObject {
public:
    SnapshotObject(const ClassInstances& owner, const Instance& instance)
        : owner_(owner)
        , instance_(instance) {}

    ScanValue get(std::string_view property) const override {
        const auto it = std::find_if(instance_.begin(), instance_.end(), [&](const Property& p) {
            return equalsIgnoreCase(p.name, property);
        });
        if (it == instance_.end())
            throw wmi::WmiError("Reading property '" + std::string(property) + "' of " +
                                owner_.className + " failed: the instance has no such property");
        return it->value;
    }

private:
    const ClassInstances& owner_;
    const Instance& instance_;
};

class SnapshotResultSet : public wmi::WmiResultSet {
public:
    explicit SnapshotResultSet(const ClassInstances& owner)
        : owner_(owner) {}

    std::unique_ptr<wmi::WmiObject> next() override {
        if (position_ >= owner_.instances.size())
            return nullptr;
        return std::make_unique<SnapshotObject>(owner_, owner_.instances[position_++]);
    }

private:
    const ClassInstances& owner_;
    std::size_t position_ = 0;
};

class SnapshotService : public wmi::WmiService {
public:
    explicit SnapshotService(const Snapshot& snapshot)
        : snapshot_(snapshot) {}

    std::unique_ptr<wmi::WmiResultSet> execQuery(std::string_view wql) override {
        const std::string className = wmi::selectAllClass(wql);
        if (className.empty())
            throw wmi::WmiError(
                "ExecQuery \"" + std::string(wql) +
                "\" failed: only \"Select * from <class>\" queries are answered here");
        const ClassInstances* owner = snapshot_.find(className);
        if (!owner)
            throw wmi::WmiError("ExecQuery \"" + std::string(wql) + "\" failed: invalid class " +
                                className);
        return std::make_unique<SnapshotResultSet>(*owner);
    }

private:
    const Snapshot& snapshot_;
};

} // namespace

SnapshotProvider::SnapshotProvider(Snapshot snapshot)
    : snapshot_(std::move(snapshot)) {}

std::unique_ptr<wmi::WmiService> SnapshotProvider::bind(std::string_view objectPath) {
    const wmi::Moniker moniker = wmi::parseMoniker(objectPath);
    if (!wmi::isLocalServer(moniker.server))
        throw wmi::WmiError("Binding the WMI object path \"" + std::string(objectPath) +
                            "\" failed: only the local computer can be reached, not \"" +
                            moniker.server + "\"");
    if (!equalsIgnoreCase(moniker.nameSpace, "root\\cimv2"))
        throw wmi::WmiError("Binding the WMI object path \"" + std::string(objectPath) +
                            "\" failed: invalid namespace " + moniker.nameSpace);
    return std::make_unique<SnapshotService>(snapshot_);
}

} // namespace quorvin::snapshot
