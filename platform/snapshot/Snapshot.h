#pragma once

#include "scan/wmi/Wmi.h"

#include <filesystem>
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

// Reads recorded instances in the shapes PowerShell prints for "Get-CimInstance <class> |
// ConvertTo-Json" or Get-WmiObject: one object per instance, or an array of them, each naming its
// class in CimSystemProperties.ClassName, CimClass, __CLASS or (for a scan class)
// CreationClassName. Several such documents may follow each other (one per class, appended to
// one file). An object whose keys are class names and whose values are such instances or arrays
// is read too. Values take the kinds WMI gives the scan's properties (a uint64 such as
// TotalPhysicalMemory becomes decimal text even where JSON holds a number); nested objects and
// arrays of other properties are left out. A scan property an instance lacks (Select-Object
// trims them) reads as null and is noted in its class's lackingProperties. The seven scan
// classes are always known, so a class the recording lacks answers with no instance. Throws
// std::runtime_error with a readable message that names the line of the file.
Snapshot parseSnapshotJson(std::string_view jsonText);
// Reads a regular file of at most 64 MB (files::FileError otherwise).
Snapshot loadSnapshotFile(const std::filesystem::path& file);

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
