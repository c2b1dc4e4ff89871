#pragma once

#include "Snapshot.h"

#include <filesystem>
#include <string_view>

namespace quorvin::snapshot {

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

} // namespace quorvin::snapshot
