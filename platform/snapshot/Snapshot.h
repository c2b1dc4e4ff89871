#pragma once

#include "scan/wmi/Wmi.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quorvin::snapshot {

struct Property {
    std::string name;
    ScanValue value;
};
using Instance = std::vector<Property>;

struct ClassInstances {
    std::string className;
    std::vector<Instance> instances; // in delivery order
    // Properties the scan reads that some recorded instance did not carry; they replay as null.
    std::vector<std::string> lackingProperties;
};

// Recorded WMI instances: what a machine answered, built in code or loaded from JSON. A class that
// is known but has no instance answers with an empty result set; a class that is not known at all
// fails its query, as an invalid class does in WMI.
class Snapshot {
public:
    // Makes the class known without adding an instance.
    void declareClass(std::string_view className);
    // Makes the seven classes the scan queries known.
    void declareScanClasses();
    void addInstance(std::string_view className, Instance instance);
    // Notes, once, that a recorded instance of the class lacked the property.
    void noteLackingProperty(std::string_view className, std::string_view property);

    // nullptr when the class is not known; names match without regard to case. Constant time,
    // so a recording with very many classes loads in time linear in its size.
    const ClassInstances* find(std::string_view className) const;
    const std::vector<ClassInstances>& classes() const { return classes_; }

private:
    ClassInstances& classEntry(std::string_view className);
    std::vector<ClassInstances> classes_;                 // in the order first named
    std::unordered_map<std::string, std::size_t> byName_; // lowered name -> index in classes_
};

// Which of a backend's sources answered each class ("SMBIOS tables", "/proc"), so support staff
// can tell a value the machine lacks from a source that could not be read.
class SourceNotes {
public:
    // Adds the source to the class's list unless it is there already.
    void note(std::string_view className, std::string_view source);
    // In the order they were noted; empty when none answered.
    std::vector<std::string> sourcesOf(std::string_view className) const;

private:
    std::vector<std::pair<std::string, std::vector<std::string>>> notes_;
};

// Serves a snapshot through the WMI interface: the backend that replays recorded machines, and the
// one the Linux backend hands its findings to.
class SnapshotProvider : public wmi::WmiProvider {
public:
    explicit SnapshotProvider(Snapshot snapshot);
    std::unique_ptr<wmi::WmiService> bind(std::string_view objectPath) override;
    const Snapshot& snapshot() const { return snapshot_; }

private:
    Snapshot snapshot_;
};

} // namespace quorvin::snapshot
